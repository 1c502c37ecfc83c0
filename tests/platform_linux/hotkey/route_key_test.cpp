#include "platform/fake/manual_clock.h"
#include "platform/linux/hotkey/command_key_source.h"
#include "platform/linux/hotkey/route_key.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes what a route reported: "v" down, "^" up, with a letter for the key.
class Log final : public KeySource::Listener {
public:
    std::string text;

    void keyPressed(PhysicalKey key) override { text += "v" + name(key); }
    void keyReleased(PhysicalKey key) override { text += "^" + name(key); }

private:
    static std::string name(PhysicalKey key) { return key == PhysicalKey::RightControl ? "R" : "L"; }
};

// Steps: 'p' press, 'r' release, 'w' watch left Control, 's' stop, 'g' start again, digits: that many
// seconds pass.
std::string play(int holdLimitMs, const std::string& steps)
{
    ManualClock clock;
    QObject context;
    RouteKey key(clock, &context, holdLimitMs);
    Log log;
    key.start(log);
    for (const char step : steps) {
        switch (step) {
        case 'p':
            key.press();
            break;
        case 'r':
            key.release();
            break;
        case 'w':
            key.watch(PhysicalKey::LeftControl);
            break;
        case 's':
            key.stop();
            break;
        case 'g':
            key.start(log);
            break;
        default:
            clock.advance((step - '0') * 1000LL);
            break;
        }
        log.text += ' ';
    }
    return log.text;
}

struct Row {
    const char* what;
    int limitMs;
    const char* steps;
    const char* reported;
};

constexpr int lossy = RouteKey::lossyHoldLimitMs;

TEST(RouteKey, ReportsTheWatchedKeyAndEndsAHoldWhoseReleaseWasLost)
{
    // clang-format off
    const Row rows[] = {
        {.what = "press and release",                   .limitMs = lossy, .steps = "pr",                .reported = "vR ^R "},
        {.what = "a hold just under the limit",         .limitMs = lossy, .steps = "p99999r",           .reported = "vR      ^R "},
        {.what = "a lost release ends at the limit",    .limitMs = lossy, .steps = "p9999999r",         .reported = "vR       ^R  "},
        {.what = "a press while down: release, press",  .limitMs = lossy, .steps = "pp",                .reported = "vR ^RvR "},
        {.what = "the limit counts from the new press", .limitMs = lossy, .steps = "p5555555p999999r",  .reported = "vR        ^RvR       ^R "},
        {.what = "a route with releases: repeat",       .limitMs = 0,     .steps = "ppr",               .reported = "vR  ^R "},
        {.what = "a route with releases: no limit",     .limitMs = 0,     .steps = "p99999999r",        .reported = "vR         ^R "},
        {.what = "a release with no press",             .limitMs = lossy, .steps = "r",                 .reported = " "},
        {.what = "stopped: nothing, no late release",   .limitMs = lossy, .steps = "ps9999999p",        .reported = "vR          "},
        {.what = "started again: a fresh press",        .limitMs = lossy, .steps = "psgpr",             .reported = "vR   vR ^R "},
        {.what = "another key watched mid-hold",        .limitMs = lossy, .steps = "pwr9999999pr",      .reported = "vR          vL ^L "},
    };
    // clang-format on
    for (const Row& row : rows)
        EXPECT_EQ(play(row.limitMs, row.steps), row.reported) << row.what;
}

TEST(CommandKeySource, BindingsReachTheListenerOnlyWhileStarted)
{
    ManualClock clock;
    CommandKeySource source(clock, nullptr);
    Log log;
    source.command(true, 1);
    source.watch(PhysicalKey::LeftControl);
    EXPECT_EQ(source.start(log), KeySource::Reach::Global);
    source.command(true, 2);
    source.command(false, 3);
    source.stop();
    source.command(true, 4);
    EXPECT_EQ(log.text, "vL^L");
}

// Commands as they arrive: 'p' press, 'r' release, each with the time its process started.
struct Command {
    char act;
    qint64 sentAtMs;
};

struct CommandRow {
    const char* what;
    std::vector<Command> commands;
    const char* reported;
};

TEST(CommandKeySource, APressThatArrivesAfterItsReleaseIsATapNotAStuckHold)
{
    // clang-format off
    const CommandRow rows[] = {
        {.what = "in order",                        .commands = {{'p', 10}, {'r', 20}},            .reported = "vR^R"},
        {.what = "the release overtook the press",  .commands = {{'r', 20}, {'p', 10}},            .reported = "vR^R"},
        {.what = "a later press after a tap",       .commands = {{'p', 10}, {'r', 20}, {'p', 30}}, .reported = "vR^RvR"},
        {.what = "no time given: held as it comes", .commands = {{'r', 20}, {'p', 0}},             .reported = "vR"},
        {.what = "the same instant is not late",    .commands = {{'r', 20}, {'p', 20}},            .reported = "vR"},
    };
    // clang-format on
    for (const CommandRow& row : rows) {
        ManualClock clock;
        CommandKeySource source(clock, nullptr);
        Log log;
        source.start(log);
        for (const Command& command : row.commands)
            source.command(command.act == 'p', command.sentAtMs);
        EXPECT_EQ(log.text, row.reported) << row.what;
    }
}

} // namespace
