#pragma once

#include "temp_support_dir.h"

#include "core/app_state.h"
#include "core/apple_notes.h"
#include "core/permissions.h"
#include "fake_desktop_launcher.h"
#include "fake_permission_probe.h"
#include "fake_script_runner.h"
#include "fake_update_feed.h"
#include "fake_window_system.h"
#include "manual_clock.h"

#include <QSettings>

#include <memory>

// A support folder in a temp dir, user defaults in a temp file, fakes for every service.
class StateFixture : public TempSupportDir {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the state as the program does at start; a second call replaces it.
    AppState& makeState(UpdateFeed* feed = nullptr);
    AppState& state() { return *m_state; }

    // Writes config.json before the state is made.
    void writeConfig(const QuendaConfig& config);
    void writeHistory(const QList<HistoryEntry>& entries);
    QList<HistoryEntry> storedHistory() const;
    QString historyPath() const { return supportFile(QStringLiteral("history.json")); }
    QString configPath() const { return supportFile(QStringLiteral("config.json")); }
    QString notesPath() const { return supportFile(QStringLiteral("notes.json")); }

    // A dictation of the given text at clock time minus minutesAgo.
    HistoryEntry dictation(const QString& text, int minutesAgo = 0,
                           std::optional<double> duration = {}) const;

    // Records every configChanged call.
    struct ConfigCall {
        QuendaConfig previous;
        QuendaConfig current;
    };
    QList<ConfigCall> m_configCalls;

    ManualClock m_clock;
    FakePermissionProbe m_probe;
    FakeDesktopLauncher m_launcher;
    std::unique_ptr<Permissions> m_privacyPanes;
    FakeWindowSystem m_windows;
    FakeScriptRunner m_runner;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<AppleNotes> m_appleNotes;

private:
    std::unique_ptr<AppState> m_state;
};

// Shorthand for UTF-8 literals.
inline QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}
