#pragma once

#include "core/model/app_style_profile.h"

#include <QString>

// An application an XDG desktop file offers, with what ties its windows to it.
struct InstalledApp {
    FrontApp app;
    QString startupWMClass; // empty when the file names none
    bool terminal = false;  // the file files it under TerminalEmulator
    QString icon;           // Icon=: a theme name or an absolute path; empty when none

    friend bool operator==(const InstalledApp&, const InstalledApp&) = default;
};
