#pragma once

#include "core/base/clock.h"
#include "core/model/overlay_result.h"
#include "core/model/overlay_result_size.h"

#include <QList>
#include <QWidget>

#include <optional>

class CardIconButton;
class ChoiceRow;
class LineLimitedLabel;
class QLabel;

// The alternatives of a spoken command, each to insert, copy or keep as a note. No countdown:
// it stays until the user acts.
class OverlayChoiceCard final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverlayChoiceCard)

public:
    // How long a copy or note button shows its check mark.
    static constexpr int markMs = 1200;

    OverlayChoiceCard(Clock& clock, const OverlayResult& result, OverlayResultSize size,
                      QWidget* parent = nullptr);

    const QList<ChoiceRow*>& rows() const { return m_rows; }
    CardIconButton* closeButton() const { return m_close; }
    LineLimitedLabel* spoken() const { return m_spoken; }
    // Marks the note button of the choice with this id, after its note was saved.
    void markNoted(const QString& id);
    std::optional<QString> copiedId() const { return m_copiedId; }
    std::optional<QString> notedId() const { return m_notedId; }

signals:
    void insertRequested(const OverlayResultChoice& choice);
    void copyRequested(const OverlayResultChoice& choice);
    void noteRequested(const OverlayResultChoice& choice);
    void closeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Moves the mark to id at once and takes it away markMs after the latest press.
    void mark(std::optional<QString>& marked, std::optional<Clock::TimerId>& timer, const QString& id);
    void showMarks();

    Clock& m_clock;
    CardIconButton* m_close;
    LineLimitedLabel* m_spoken = nullptr;
    QWidget* m_list;
    QList<ChoiceRow*> m_rows;
    std::optional<QString> m_copiedId;
    std::optional<QString> m_notedId;
    std::optional<Clock::TimerId> m_copiedTimer;
    std::optional<Clock::TimerId> m_notedTimer;
};
