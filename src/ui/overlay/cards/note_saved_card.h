#pragma once

#include "ui/overlay/cards/timed_card.h"

class CardIconButton;
class ElidedLabel;
class LineLimitedLabel;
class QLabel;

// The notice that a text was saved as a note: where, and its first lines. A click opens the note.
class NoteSavedCard final : public TimedCard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoteSavedCard)

public:
    static constexpr QSize size{320, 148};

    NoteSavedCard(Clock& clock, QWidget* parent = nullptr);

    void setContent(const QString& text, const QString& place, int dismissSeconds);
    CardIconButton* closeButton() const { return m_close; }

signals:
    void openRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ElidedLabel* m_place;
    LineLimitedLabel* m_text;
    CardIconButton* m_close;
    bool m_pressed = false;
};
