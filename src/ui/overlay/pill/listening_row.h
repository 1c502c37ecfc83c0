#pragma once

#include "core/base/clock.h"

#include <QWidget>

class AppCommands;
class AppState;
class IconChip;
class MirroredWaveform;
class PulsingDot;
class QLabel;

// While listening: the recording dot, the level waveform, the running clock and the stop chip;
// hands-free, also how else to stop.
class ListeningRow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListeningRow)

public:
    ListeningRow(AppState& state, AppCommands& commands, Clock& clock, QWidget* parent = nullptr);

    MirroredWaveform* waveform() const { return m_waveform; }
    QLabel* clockLabel() const { return m_clock; }
    IconChip* stopChip() const { return m_stop; }
    QLabel* handsFreeHint() const { return m_handsFree; }

private:
    PulsingDot* m_dot;
    MirroredWaveform* m_waveform;
    QLabel* m_clock;
    QLabel* m_handsFree;
    IconChip* m_stop;
};
