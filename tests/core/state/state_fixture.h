#pragma once

#include "test_text.h"

#include "temp_support_dir.h"

#include "core/base/work_queue.h"
#include "core/notes/apple_notes.h"
#include "core/state/app_state.h"
#include "core/storage/history_store.h"
#include "core/storage/state_files.h"
#include "platform/fake/fake_desktop_launcher.h"
#include "platform/fake/fake_permission_probe.h"
#include "platform/fake/fake_script_runner.h"
#include "platform/fake/fake_window_system.h"
#include "platform/fake/manual_clock.h"
#include "platform/fake/recording_app_commands.h"

#include <QDir>
#include <QSettings>

#include <functional>
#include <memory>

// A support folder in a temp dir, user defaults in a temp file, fakes for every service.
// Public, so that the rows of a test table can reach into it.
class StateFixture : public TempSupportDir {
public:
    void TearDown() override
    {
        m_state.reset();
        TempSupportDir::TearDown();
    }

    // Builds the state as the program does at start; a second call replaces it.
    AppState& makeState(bool checksForUpdates = false)
    {
        m_state.reset();
        m_state = std::make_unique<AppState>(AppState::Services{m_clock, m_probe, m_launcher, m_windows,
                                                                m_work, m_appleNotes, m_files, s("1.4.0"),
                                                                checksForUpdates});
        QObject::connect(m_state.get(), &AppState::configWritten, m_state.get(),
                         [this](const QuendaConfig& previous, const QuendaConfig& current) {
                             m_configCalls.append({previous, current});
                         });
        return *m_state;
    }
    // Writes config.json with the given change to the defaults, then builds the state.
    AppState& makeStateWith(const std::function<void(QuendaConfig&)>& change)
    {
        QuendaConfig config = QuendaConfig::standard();
        change(config);
        writeAll(configPath(), config.encode());
        return makeState();
    }
    AppState& state() { return *m_state; }
    // Changes the running state's configuration, as the settings window does.
    void configure(const std::function<void(QuendaConfig&)>& change)
    {
        QuendaConfig config = state().config();
        change(config);
        state().setConfig(config);
    }

    QString historyPath() const { return supportFile(s("history.json")); }
    QString configPath() const { return supportFile(s("config.json")); }
    QList<HistoryEntry> storedHistory() const
    {
        return HistoryStore::decode(readAll(historyPath())).value_or(QList<HistoryEntry>{});
    }
    // A dictation of the given text at clock time minus minutesAgo.
    HistoryEntry dictation(const QString& text, int minutesAgo = 0, std::optional<double> duration = {}) const
    {
        return {
            QUuid::createUuid(), m_clock.now().addSecs(-60LL * minutesAgo), text, text, duration, {}, {}, {}};
    }

    // Every configWritten signal as (previous, current).
    QList<std::pair<QuendaConfig, QuendaConfig>> m_configCalls;
    ManualClock m_clock;
    SupportFolderFiles m_files;
    FakePermissionProbe m_probe;
    FakeDesktopLauncher m_launcher;
    FakeWindowSystem m_windows;
    // After the window system: its jobs end before the fakes they read go.
    WorkQueue m_work;
    FakeScriptRunner m_runner;
    QSettings m_settings{QDir(root()).filePath(s("defaults.ini")), QSettings::IniFormat};
    AppleNotes m_appleNotes{m_runner, m_settings};
    // What the views asked of the application.
    RecordingAppCommands m_commands;

private:
    std::unique_ptr<AppState> m_state;
};
