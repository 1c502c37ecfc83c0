#pragma once

#include "core/base/clock.h"
#include "core/model/phase.h"

#include <QWidget>

class AppCommands;
class AppState;
class QHBoxLayout;

// The row inside the expanded pill for the current phase: the idle toolbar's place, the
// listening row, a busy wave or sparkles with a caption, or the outcome of the dictation.
class PhaseContent final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PhaseContent)

public:
    PhaseContent(AppState& state, AppCommands& commands, Clock& clock, QWidget* parent = nullptr);

    // "Inserted" or "Copied" for a done phase.
    static QString doneStatus(const Phase& phase);
    // The shown row; it is rebuilt only when what it shows changes.
    QWidget* row() const { return m_row; }

private:
    struct Shown {
        Phase phase;
        bool rewriting = false;
        bool preview = false;
        bool operator==(const Shown&) const = default;
    };
    void refresh();
    QWidget* buildRow();

    AppState& m_state;
    AppCommands& m_commands;
    Clock& m_clock;
    QHBoxLayout* m_layout;
    QWidget* m_row = nullptr;
    Shown m_shown;
    bool m_built = false;
};
