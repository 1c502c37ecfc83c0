#pragma once

#include "core/base/clock.h"
#include "ui/kit/tween.h"
#include "ui/overlay/placement/pill_layout.h"

#include <QWidget>

class AppCommands;
class AppState;
class Phase;
class PhaseContent;

// The widget's dark capsule: a small chip with three bars while collapsed, the 38-point bar with
// the phase content while expanded. The root view decides which; the pill morphs between them.
class PillView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PillView)

public:
    PillView(AppState& state, AppCommands& commands, Clock& clock, QWidget* parent = nullptr);

    static QSize chipSize() { return {36, 19}; }
    // 196 wide while listening, else 220 while a command is rewriting or an outcome needs the
    // room, else 172; 38 high, taller for a message wrapped onto more lines. Hands-free, the bar also
    // says how to stop.
    static constexpr int handsFreeWidth = 424;
    QSize barSize() const;
    // Room left and right of the phase content.
    static int contentPadding(const Phase& phase);
    // The chip's tooltip: how to dictate with the configured hotkey, and that the chip can be dragged.
    static QString chipToolTip(const AppState& state);

    bool expanded() const { return m_expanded; }
    // Morphs to the bar or the chip; without animate (or with animations off) it jumps.
    void setExpanded(bool expanded, bool animate);
    PhaseContent* content() const { return m_content; }
    // The size the pill is morphing to.
    QSize targetSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refreshTarget(bool animate);
    void applyFrame();
    void applyContentOpacity();

    AppState& m_state;
    const PillLayout m_layout;
    // The bar's size for what the state shows, measured once per change.
    QSize m_bar;
    PhaseContent* m_content;
    bool m_expanded = false;
    Tween m_width;
    Tween m_height;
    // 0 shows the chip's bars, 1 the phase content.
    Tween m_face;
};
