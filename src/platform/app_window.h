#pragma once

#include "core/model/app_style_profile.h"

#include <QString>

// A top-level window and what the desktop knows of the application behind it.
struct AppWindow {
    quint64 window = 0; // the window system's handle
    FrontApp app;       // the desktop-file id is empty when no installed application matches
    int pid = 0;        // 0 when the window does not name its process
    QString windowClass;
    // A terminal emulator: it takes Ctrl+Shift+V, and a copy chord could interrupt its command.
    bool terminal = false;
    // A terminal that binds no Ctrl+Shift+V: it pastes with Shift+Insert, from the primary selection.
    bool shiftInsertOnly = false;

    friend bool operator==(const AppWindow&, const AppWindow&) = default;
};
