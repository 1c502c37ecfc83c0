#pragma once

#include "core/base/work_queue.h"
#include "core/notes/apple_notes.h"
#include "core/state/app_state.h"
#include "core/storage/state_files.h"
#include "platform/fake/fake_desktop_launcher.h"
#include "platform/fake/fake_permission_probe.h"
#include "platform/fake/fake_script_runner.h"
#include "platform/fake/fake_window_system.h"
#include "platform/fake/manual_clock.h"
#include "platform/fake/recording_app_commands.h"

#include <QSettings>
#include <QTemporaryDir>

// What an AppState reads, on the fakes, with its user defaults in a temporary folder so a run
// never changes the user's own. A benchmark that counts wake-ups brings a clock of its own; one
// that paints a still overlay takes the demonstration files, as a snapshot does.
template <typename ClockType = ManualClock> struct FakeStateServices {
    QTemporaryDir dir;
    ClockType clock;
    FakePermissionProbe probe;
    FakeDesktopLauncher launcher;
    FakeWindowSystem windows;
    WorkQueue work;
    FakeScriptRunner runner;
    QSettings settings{dir.filePath(QStringLiteral("defaults.ini")), QSettings::IniFormat};
    AppleNotes appleNotes{runner, settings};
    SupportFolderFiles folderFiles;
    DemoFiles demoFiles;
    // What the views ask of the application goes nowhere.
    RecordingAppCommands commands;

    AppState::Services forState(bool demo = false)
    {
        return {clock,
                probe,
                launcher,
                windows,
                work,
                appleNotes,
                demo ? static_cast<StateFiles&>(demoFiles) : folderFiles};
    }
};
