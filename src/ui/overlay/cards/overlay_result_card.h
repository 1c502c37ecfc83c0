#pragma once

#include "core/model/overlay_result_size.h"
#include "ui/overlay/cards/timed_card.h"

class CardIconButton;
class CardTextBody;
class LineLimitedLabel;
class QLabel;

// The answer of a spoken command that offers no choices, with the command above it.
class OverlayResultCard final : public TimedCard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverlayResultCard)

public:
    OverlayResultCard(Clock& clock, QWidget* parent = nullptr);

    void setContent(const QString& command, const QString& text, OverlayResultSize size, int dismissSeconds);
    LineLimitedLabel* command() const { return m_command; }
    CardTextBody* body() const { return m_body; }
    CardIconButton* copyButton() const { return m_copy; }
    CardIconButton* closeButton() const { return m_close; }

signals:
    void copyRequested();

private:
    CardIconButton* m_copy;
    CardIconButton* m_close;
    LineLimitedLabel* m_command;
    QWidget* m_commandRow;
    CardTextBody* m_body;
};
