#pragma once

#include "core/model/dictation_preview.h"
#include "core/model/overlay_result_size.h"
#include "ui/overlay/cards/timed_card.h"
#include "ui/overlay/placement/dictation_preview_layout.h"

class CardIconButton;
class CardTextBody;
class QHBoxLayout;
class QLabel;

// The last dictation's text with how it went: still being recognised, inserted or copied.
class DictationPreviewCard final : public TimedCard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DictationPreviewCard)

public:
    DictationPreviewCard(Clock& clock, QWidget* parent = nullptr);

    void setContent(const DictationPreview& preview, OverlayResultSize size, int dismissSeconds);
    CardTextBody* body() const { return m_body; }
    QLabel* title() const { return m_title; }
    CardIconButton* closeButton() const { return m_close; }

private:
    void rebuildHeader(DictationPreviewStatus status);

    Clock& m_clock;
    const DictationPreviewLayout m_layout;
    QHBoxLayout* m_header;
    QWidget* m_icon = nullptr;
    QWidget* m_wave = nullptr;
    QLabel* m_title;
    CardIconButton* m_close;
    CardTextBody* m_body;
};
