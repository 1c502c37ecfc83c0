#include "app/shell/command_line.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

QStringList args(std::initializer_list<const char*> list)
{
    QStringList result{QStringLiteral("/usr/bin/quenda")};
    for (const char* item : list)
        result.append(QString::fromUtf8(item));
    return result;
}

struct ModeCase {
    const char* name;
    QStringList arguments;
    LaunchRequest::Mode mode;
    QString snapshotDir;
    QString hudVersion;
    bool snapshotFlag;
};

} // namespace

TEST(CommandLine, PicksTheModeByTheFirstOccurrenceOfEachOption)
{
    using Mode = LaunchRequest::Mode;
    const ModeCase cases[] = {
        {.name = "no options",
         .arguments = args({}),
         .mode = Mode::Normal,
         .snapshotDir = {},
         .hudVersion = {},
         .snapshotFlag = false},
        {.name = "snapshot folder",
         .arguments = args({"--snapshot", "/tmp/shots"}),
         .mode = Mode::Snapshot,
         .snapshotDir = QStringLiteral("/tmp/shots"),
         .hudVersion = {},
         .snapshotFlag = true},
        {.name = "snapshot folder that looks like an option",
         .arguments = args({"--snapshot", "--update-hud"}),
         .mode = Mode::Snapshot,
         .snapshotDir = QStringLiteral("--update-hud"),
         .hudVersion = {},
         .snapshotFlag = true},
        {.name = "snapshot last starts normally",
         .arguments = args({"--snapshot"}),
         .mode = Mode::Normal,
         .snapshotDir = {},
         .hudVersion = {},
         .snapshotFlag = true},
        {.name = "snapshot wins over the hud",
         .arguments = args({"--update-hud", "2.0", "--snapshot", "d"}),
         .mode = Mode::Snapshot,
         .snapshotDir = QStringLiteral("d"),
         .hudVersion = {},
         .snapshotFlag = true},
        {.name = "hud with a version",
         .arguments = args({"--update-hud", "2.0"}),
         .mode = Mode::UpdateHud,
         .snapshotDir = {},
         .hudVersion = QStringLiteral("2.0"),
         .snapshotFlag = false},
        {.name = "hud last takes the own version",
         .arguments = args({"--update-hud"}),
         .mode = Mode::UpdateHud,
         .snapshotDir = {},
         .hudVersion = QStringLiteral("1.4.0"),
         .snapshotFlag = false},
        {.name = "hud beside a trailing snapshot",
         .arguments = args({"--update-hud", "3", "--snapshot"}),
         .mode = Mode::UpdateHud,
         .snapshotDir = {},
         .hudVersion = QStringLiteral("3"),
         .snapshotFlag = true},
        {.name = "help wins over a hotkey command",
         .arguments = args({"--hotkey", "press", "--help"}),
         .mode = Mode::Help,
         .snapshotDir = {},
         .hudVersion = {},
         .snapshotFlag = false},
        {.name = "short help",
         .arguments = args({"-h"}),
         .mode = Mode::Help,
         .snapshotDir = {},
         .hudVersion = {},
         .snapshotFlag = false},
        {.name = "version",
         .arguments = args({"--update-hud", "--version"}),
         .mode = Mode::Version,
         .snapshotDir = {},
         .hudVersion = {},
         .snapshotFlag = false},
        {.name = "options match whole arguments only",
         .arguments = args({"--snapshot=dir", "--update-hudx"}),
         .mode = Mode::Normal,
         .snapshotDir = {},
         .hudVersion = {},
         .snapshotFlag = false},
    };
    for (const ModeCase& c : cases) {
        const LaunchRequest request = LaunchRequest::parse(c.arguments, QStringLiteral("1.4.0"));
        EXPECT_EQ(request.mode, c.mode) << c.name;
        EXPECT_EQ(request.snapshotDir, c.snapshotDir) << c.name;
        EXPECT_EQ(request.hudVersion, c.hudVersion) << c.name;
        EXPECT_EQ(request.snapshotFlag, c.snapshotFlag) << c.name;
    }
}

TEST(CommandLine, ReadsTheParentPidOnlyAsAPositive32BitDecimal)
{
    struct PidCase {
        QStringList arguments;
        std::optional<qint32> pid;
    };
    const PidCase cases[] = {
        {.arguments = args({"--update-hud", "2", "--parent-pid", "4242"}), .pid = 4242},
        {.arguments = args({"--update-hud", "2", "--parent-pid", ""}), .pid = std::nullopt},
        {.arguments = args({"--update-hud", "2", "--parent-pid", "+"}), .pid = std::nullopt},
        {.arguments = args({"--update-hud", "2", "--parent-pid", "-"}), .pid = std::nullopt},
        {.arguments = args({"--update-hud", "2", "--parent-pid", "12a"}), .pid = std::nullopt},
        {.arguments = args({"--update-hud", "2", "--parent-pid", "2147483647"}), .pid = 2147483647},
        {.arguments = args({"--update-hud", "2", "--parent-pid", "2147483648"}), .pid = std::nullopt},
        {.arguments = args({"--update-hud", "2", "--parent-pid", "99999999999999999999"}),
         .pid = std::nullopt},
        {.arguments = args({"--update-hud", "2", "--parent-pid", "+7"}), .pid = 7},
        // kill() with 0 or a negative id would reach a whole process group, never our parent.
        {.arguments = args({"--update-hud", "2", "--parent-pid", "-5"}), .pid = std::nullopt},
        {.arguments = args({"--update-hud", "2", "--parent-pid", "0"}), .pid = std::nullopt},
        {.arguments = args({"--update-hud", "2", "--parent-pid", " 7"}), .pid = std::nullopt},
        {.arguments = args({"--update-hud", "2", "--parent-pid", "٣"}), .pid = std::nullopt},
        {.arguments = args({"--update-hud", "2", "--parent-pid"}), .pid = std::nullopt},
        {.arguments = args({"--parent-pid", "7", "--update-hud"}), .pid = 7},
    };
    for (const PidCase& c : cases)
        EXPECT_EQ(LaunchRequest::parse(c.arguments, QStringLiteral("1")).parentPid, c.pid)
            << c.arguments.join(u' ').toStdString();
}

TEST(CommandLine, AHotkeyCommandNeverStartsTheProgramWhateverItsWord)
{
    using Mode = LaunchRequest::Mode;
    using Command = LaunchRequest::HotkeyCommand;
    struct HotkeyCase {
        QStringList arguments;
        Mode mode;
        std::optional<Command> hotkey;
    };
    // clang-format off
    const HotkeyCase cases[] = {
        {.arguments = args({"--hotkey", "press"}),                 .mode = Mode::Hotkey,   .hotkey = Command::Press},
        {.arguments = args({"--hotkey", "release"}),               .mode = Mode::Hotkey,   .hotkey = Command::Release},
        {.arguments = args({"--hotkey", "Press"}),                 .mode = Mode::Hotkey,   .hotkey = std::nullopt},
        {.arguments = args({"--hotkey"}),                          .mode = Mode::Hotkey,   .hotkey = std::nullopt},
        {.arguments = args({"--hotkey", "--update-hud"}),          .mode = Mode::Hotkey,   .hotkey = std::nullopt},
        {.arguments = args({"--update-hud", "2", "--hotkey", "press"}), .mode = Mode::Hotkey, .hotkey = Command::Press},
        {.arguments = args({"--hotkey", "press", "--snapshot", "d"}), .mode = Mode::Snapshot, .hotkey = std::nullopt},
        {.arguments = args({"--hotkeys", "press"}),                .mode = Mode::Normal,   .hotkey = std::nullopt},
    };
    // clang-format on
    for (const HotkeyCase& c : cases) {
        const LaunchRequest request = LaunchRequest::parse(c.arguments, QStringLiteral("1"));
        EXPECT_EQ(request.mode, c.mode) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(request.hotkey, c.hotkey) << c.arguments.join(u' ').toStdString();
    }
}
