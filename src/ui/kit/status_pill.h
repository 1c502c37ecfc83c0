#pragma once

#include "core/model/engine_state.h"

#include <QWidget>

class Clock;
class Spinner;

// The engine's condition as a tinted capsule: a spinner while loading, else a green or red dot,
// and the status text on one line in the state colour, truncated when space runs short.
class StatusPill final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusPill)

public:
    // The clock turns the spinner.
    StatusPill(Clock& clock, EngineState state, const QString& text, QWidget* parent = nullptr);

    void set(EngineState state, const QString& text);
    EngineState state() const { return m_state; }
    QString text() const { return m_text; }
    // The state colour in this widget's scheme.
    QColor colour() const;
    bool showsSpinner() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    EngineState m_state;
    QString m_text;
    Spinner* m_spinner;
};
