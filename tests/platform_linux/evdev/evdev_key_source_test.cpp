#include "fake_input_device_nodes.h"
#include "input_records.h"
#include "platform/fake/recording_key_listener.h"
#include "platform/linux/evdev/evdev_key_source.h"

#include <QCoreApplication>
#include <QStringList>

#include <gtest/gtest.h>

#include <fcntl.h>

#include <string>
#include <utility>

namespace {

using Kind = InputDeviceNodes::Kind;
using Verdict = EvdevKeySource::Survey::Verdict;

using enum PhysicalKey;
constexpr auto down = &KeyReport::pressed;
constexpr auto up = &KeyReport::released;

// The notifiers fire for what is already in the pipes; nothing is waited for.
void deliver()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

QString node(QChar letter)
{
    return QStringLiteral("/dev/input/event-") + letter;
}

int valueOf(QChar op)
{
    if (op == QLatin1Char('+'))
        return 1;
    return op == QLatin1Char('-') ? 0 : 2;
}

// Steps, space-separated: "a+97" key 97 down on keyboard a (then a report), "a-97" up, "a~97" an
// auto-repeat, "a!" the kernel dropped records, "a." its stream ends; "+a" plugs keyboard a (or
// makes it readable), "*a" plugs mouse a, "?a" plugs a node this user may not read, "-a" unplugs it.
void play(FakeInputDeviceNodes& nodes, const QString& script)
{
    for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QChar first = step.at(0);
        if (first == QLatin1Char('+') || first == QLatin1Char('*') || first == QLatin1Char('?') ||
            first == QLatin1Char('-')) {
            const QString path = node(step.at(1));
            if (first == QLatin1Char('-'))
                nodes.remove(path);
            else
                nodes.set(path, first == QLatin1Char('+')   ? Kind::Keyboard
                                : first == QLatin1Char('*') ? Kind::Pointer
                                                            : Kind::Denied);
        } else {
            const int fd = nodes.writer(node(first));
            ASSERT_GE(fd, 0) << step.toStdString();
            const QChar op = step.at(1);
            const auto code = static_cast<unsigned short>(step.mid(2).toUInt());
            if (op == QLatin1Char('.'))
                ::close(fd);
            else if (op == QLatin1Char('!'))
                ASSERT_TRUE(writeRecords(fd, {{EV_SYN, SYN_DROPPED, 0}, {EV_SYN, SYN_REPORT, 0}}));
            else
                ASSERT_TRUE(writeRecords(fd, {{EV_KEY, code, valueOf(op)}, {EV_SYN, SYN_REPORT, 0}}));
        }
        deliver();
    }
}

struct SourceCase {
    const char* name;
    const char* before; // nodes there at start
    const char* script;
    QList<KeyReport> reported;
    int clicks = 0;
};

void PrintTo(const SourceCase& row, std::ostream* os)
{
    *os << row.name;
}

class KeyboardsTogether : public testing::TestWithParam<SourceCase> {};

TEST_P(KeyboardsTogether, ReportKeysAsOneKeyboard)
{
    const SourceCase& row = GetParam();
    auto owned = std::make_unique<FakeInputDeviceNodes>();
    FakeInputDeviceNodes& nodes = *owned;
    play(nodes, QString::fromLatin1(row.before));
    EvdevKeySource source(std::move(owned));
    RecordingKeyListener listener;
    EXPECT_EQ(source.start(listener), KeySource::Reach::Global);
    play(nodes, QString::fromLatin1(row.script));
    EXPECT_EQ(listener.reports, row.reported);
    EXPECT_EQ(listener.buttons, row.clicks);
}

// KEY_RIGHTCTRL 97, KEY_ESC 1, KEY_A 30, KEY_B 48, KEY_LEFTSHIFT 42, BTN_LEFT 272.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, KeyboardsTogether, testing::Values(
    SourceCase{.name = "HoldAndTapOnOneKeyboard",                .before = "+a",    .script = "a+97 a~97 a~97 a-97 a+97 a-97", .reported = {down(RightControl), up(RightControl), down(RightControl), up(RightControl)}},
    SourceCase{.name = "KeyHeldOnTwoIsUpWhenBothLetGo",          .before = "+a +b", .script = "a+97 b+97 b-97 a-97",           .reported = {down(RightControl), up(RightControl)}},
    SourceCase{.name = "OtherKeyOnSecondKeyboardWhileHolding",   .before = "+a +b", .script = "a+97 b+30 b-30 b+1 a-97",       .reported = {down(RightControl), down(Other), up(Other), down(Escape), up(RightControl)}},
    SourceCase{.name = "ModifiersAreOneKind",                    .before = "+a",    .script = "a+42 a-42",                     .reported = {down(Modifier), up(Modifier)}},
    SourceCase{.name = "UnpluggedKeyboardReleasesItsKeys",       .before = "+a",    .script = "a+97 a+30 -a",                  .reported = {down(RightControl), down(Other), up(Other), up(RightControl)}},
    SourceCase{.name = "UnplugKeepsAKeyHeldOnAnother",           .before = "+a +b", .script = "a+97 b+97 -a b-97",             .reported = {down(RightControl), up(RightControl)}},
    SourceCase{.name = "StreamEndingReleasesItsKeys",            .before = "+a",    .script = "a+97 a.",                       .reported = {down(RightControl), up(RightControl)}},
    SourceCase{.name = "KeyboardPluggedInLaterIsRead",           .before = "",      .script = "+c c+1 c-1",                    .reported = {down(Escape), up(Escape)}},
    SourceCase{.name = "LockedNodeIsReadOnceAllowed",            .before = "?c",    .script = "+c c+97",                       .reported = {down(RightControl)}},
    SourceCase{.name = "DropOnOneKeepsTheOtherHolding",          .before = "+a +b", .script = "a+97 b+97 a! b-97",             .reported = {down(RightControl), up(RightControl)}},
    SourceCase{.name = "DropReleasesWhatMayHaveBeenLetGo",       .before = "+a",    .script = "a+97 a!",                       .reported = {down(RightControl), up(RightControl)}},
    SourceCase{.name = "AMouseClickWhileHolding",                .before = "+a *m", .script = "a+97 m+272 m-272 a-97",         .reported = {down(RightControl), up(RightControl)}, .clicks = 1}
));
// clang-format on

class StoppedInAReport : public testing::TestWithParam<bool> {};

// A press held down and another key in the same batch; the listener stops (and maybe restarts)
// the source on the first.
TEST_P(StoppedInAReport, TheRestOfTheBatchIsDropped)
{
    const bool restart = GetParam();
    auto owned = std::make_unique<FakeInputDeviceNodes>();
    FakeInputDeviceNodes& nodes = *owned;
    nodes.set(node(QLatin1Char('a')), Kind::Keyboard);
    EvdevKeySource source(std::move(owned));
    RecordingKeyListener listener;
    bool first = true;
    listener.onReport = [&](const KeyReport&) {
        if (!std::exchange(first, false))
            return;
        source.stop();
        if (restart)
            source.start(listener);
    };
    source.start(listener);
    ASSERT_TRUE(writeRecords(nodes.writer(node(QLatin1Char('a'))),
                             {{EV_KEY, KEY_RIGHTCTRL, 1}, {EV_KEY, KEY_A, 1}, {EV_SYN, SYN_REPORT, 0}}));
    deliver();
    EXPECT_EQ(listener.reports, QList{down(RightControl)});
    EXPECT_EQ(nodes.watching(), restart);
    EXPECT_EQ(source.deviceCount(), restart ? 1 : 0);
    if (!restart)
        return;
    // The restarted source counts A as up, so its next press is reported.
    play(nodes, QStringLiteral("a+30"));
    EXPECT_EQ(listener.reports, (QList{down(RightControl), down(Other)}));
}

INSTANTIATE_TEST_SUITE_P(StopOrRestart, StoppedInAReport, testing::Bool());

TEST(EvdevKeySource, ARestartForgetsKeysHeldBefore)
{
    auto owned = std::make_unique<FakeInputDeviceNodes>();
    FakeInputDeviceNodes& nodes = *owned;
    nodes.set(node(QLatin1Char('a')), Kind::Keyboard);
    EvdevKeySource source(std::move(owned));
    RecordingKeyListener listener;
    source.start(listener);
    play(nodes, QStringLiteral("a+97"));
    source.stop();
    source.start(listener);
    // The release of a press from before the restart, then a fresh press.
    play(nodes, QStringLiteral("a-97 a+97"));
    EXPECT_EQ(listener.reports, (QList{down(RightControl), down(RightControl)}));
    EXPECT_TRUE(nodes.watching());
}

struct SurveyCase {
    const char* name;
    std::vector<Kind> kinds;
    int keyboards;
    int denied;
    Verdict verdict;
};

void PrintTo(const SurveyCase& row, std::ostream* os)
{
    *os << row.name;
}

class Surveying : public testing::TestWithParam<SurveyCase> {};

TEST_P(Surveying, TellsWhetherKeysCanBeRead)
{
    const SurveyCase& row = GetParam();
    FakeInputDeviceNodes nodes;
    for (std::size_t i = 0; i < row.kinds.size(); ++i)
        nodes.set(QStringLiteral("/dev/input/event%1").arg(i), row.kinds[i]);
    const EvdevKeySource::Survey survey = EvdevKeySource::survey(nodes);
    EXPECT_EQ(survey.readableKeyboards, row.keyboards);
    EXPECT_EQ(survey.deniedNodes, row.denied);
    EXPECT_EQ(survey.verdict(), row.verdict);
    // A survey keeps nothing open.
    for (const QString& path : nodes.list()) {
        if (nodes.writer(path) >= 0) {
            EXPECT_TRUE(nodes.readerClosed(path)) << path.toStdString();
        }
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, Surveying, testing::Values(
    SurveyCase{.name = "NoNodes",                   .kinds = {},                                           .keyboards = 0, .denied = 0, .verdict = Verdict::NoKeyboards},
    SurveyCase{.name = "OnlyAMouse",                .kinds = {Kind::Pointer},                              .keyboards = 0, .denied = 0, .verdict = Verdict::NoKeyboards},
    SurveyCase{.name = "AllLocked",                 .kinds = {Kind::Denied, Kind::Denied},                 .keyboards = 0, .denied = 2, .verdict = Verdict::Denied},
    SurveyCase{.name = "KeyboardsBesideLockedNodes", .kinds = {Kind::Keyboard, Kind::Denied, Kind::Keyboard}, .keyboards = 2, .denied = 1, .verdict = Verdict::Readable},
    SurveyCase{.name = "NodeGoneWhileLooking",      .kinds = {Kind::Gone, Kind::NotKeyboard},              .keyboards = 0, .denied = 0, .verdict = Verdict::NoKeyboards}
));
// clang-format on

} // namespace
