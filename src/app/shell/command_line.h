#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the process was started to do, read from its arguments.
struct LaunchRequest {
    enum class Mode { Normal, Snapshot, UpdateHud, Hotkey, Help, Version };
    enum class HotkeyCommand { Press, Release };

    Mode mode = Mode::Normal;
    QString snapshotDir;
    QString hudVersion;
    std::optional<qint32> parentPid;
    // "--hotkey press|release"; empty for any other word, which asks for nothing.
    std::optional<HotkeyCommand> hotkey;
    // "--snapshot" appears anywhere, even without a folder after it.
    bool snapshotFlag = false;

    // `arguments` starts with the program path; `appVersion` stands in for a missing HUD version.
    static LaunchRequest parse(const QStringList& arguments, const QString& appVersion);
    // A decimal 32-bit signed integer with an optional sign; a value of 0 or below names no process.
    static std::optional<qint32> parentPidOf(const QString& text);
    // What "--help" and "--version" print.
    static QString helpText();
    static QString versionText(const QString& appVersion);
};
