#include "input_records.h"
#include "platform/linux/evdev/evdev_key_codes.h"
#include "platform/linux/evdev/evdev_keyboard.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <optional>
#include <vector>

namespace {

using Change = EvdevKeyboard::Change;

constexpr Record syn{EV_SYN, SYN_REPORT, 0};
constexpr Record dropped{EV_SYN, SYN_DROPPED, 0};
constexpr Record down(unsigned short code)
{
    return {EV_KEY, code, 1};
}
constexpr Record up(unsigned short code)
{
    return {EV_KEY, code, 0};
}
constexpr Record repeat(unsigned short code)
{
    return {EV_KEY, code, 2};
}

// A keyboard reading the far end of a pipe the test writes records into.
class PipedKeyboard {
public:
    explicit PipedKeyboard(EvdevKeyboard::StateQuery query = &EvdevKeyboard::kernelKeyState)
    {
        int fds[2];
        EXPECT_EQ(::pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0);
        writer = fds[1];
        keyboard.emplace(fds[0], std::move(query));
    }
    ~PipedKeyboard()
    {
        if (writer >= 0)
            ::close(writer);
    }

    std::vector<Change> type(std::initializer_list<Record> records)
    {
        EXPECT_TRUE(writeRecords(writer, records));
        std::vector<Change> changes;
        EXPECT_TRUE(keyboard->read(changes));
        return changes;
    }

    int writer = -1;
    std::optional<EvdevKeyboard> keyboard;
};

struct DecodeCase {
    const char* name;
    std::vector<Record> records;
    std::optional<std::vector<unsigned>> kernelDown; // what the node says after a drop; none: cannot say
    std::vector<Change> expected;
};

void PrintTo(const DecodeCase& row, std::ostream* os)
{
    *os << row.name;
}

class Decoding : public testing::TestWithParam<DecodeCase> {};

TEST_P(Decoding, TurnsRecordsIntoKeysGoingDownAndUp)
{
    const DecodeCase& row = GetParam();
    PipedKeyboard piped([&](int) -> std::optional<EvdevKeyboard::KeyState> {
        if (!row.kernelDown)
            return std::nullopt;
        EvdevKeyboard::KeyState state;
        for (const unsigned code : *row.kernelDown)
            state.set(code);
        return state;
    });
    for (const Record& record : row.records)
        ASSERT_TRUE(writeRecords(piped.writer, {record}));
    std::vector<Change> changes;
    ASSERT_TRUE(piped.keyboard->read(changes));
    EXPECT_EQ(changes, row.expected);
}

constexpr unsigned short rctrl = KEY_RIGHTCTRL;
constexpr unsigned short a = KEY_A;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, Decoding, testing::Values(
    DecodeCase{.name = "HoldWithRepeatsIsOnePressAndOneRelease", .records = {down(rctrl), syn, repeat(rctrl), syn, repeat(rctrl), syn, up(rctrl), syn}, .kernelDown = {}, .expected = {{rctrl, true}, {rctrl, false}}},
    DecodeCase{.name = "TwoTapsAreTwoPressesAndReleases", .records = {down(rctrl), syn, up(rctrl), syn, down(rctrl), syn, up(rctrl), syn}, .kernelDown = {}, .expected = {{rctrl, true}, {rctrl, false}, {rctrl, true}, {rctrl, false}}},
    DecodeCase{.name = "EscapeWhileTheHotkeyIsDown", .records = {down(rctrl), syn, down(KEY_ESC), syn, up(KEY_ESC), syn}, .kernelDown = {}, .expected = {{rctrl, true}, {KEY_ESC, true}, {KEY_ESC, false}}},
    DecodeCase{.name = "RepeatOfAKeyHeldBeforeListeningIsNoPress", .records = {repeat(rctrl), syn, repeat(rctrl), syn}, .kernelDown = {}, .expected = {}},
    DecodeCase{.name = "ReleaseOfAKeyNeverSeenDownIsNoRelease", .records = {up(rctrl), syn}, .kernelDown = {}, .expected = {}},
    DecodeCase{.name = "MouseButtonsAndTheWheelAreClicksNotKeys", .records = {down(BTN_LEFT), syn, up(BTN_LEFT), syn, down(BTN_TRIGGER_HAPPY1), syn, {EV_REL, REL_WHEEL, -1}, {EV_REL, REL_X, 4}, syn}, .kernelDown = {}, .expected = {{EvdevKeyboard::click, true}, {EvdevKeyboard::click, true}}},
    DecodeCase{.name = "ScanCodesAndLedsAreNoKeys", .records = {{EV_MSC, MSC_SCAN, 0x7001e}, {EV_LED, LED_CAPSL, 1}, syn}, .kernelDown = {}, .expected = {}},
    DecodeCase{.name = "DropReleasesEveryHeldKeyWhenTheNodeCannotSay", .records = {down(rctrl), syn, dropped, down(a), syn}, .kernelDown = {}, .expected = {{rctrl, true}, {rctrl, false}}},
    DecodeCase{.name = "DropIgnoresTheBrokenFrameUntilItsReport", .records = {dropped, down(a), up(rctrl), down(KEY_ESC), syn, down(KEY_B), syn}, .kernelDown = std::vector<unsigned>{}, .expected = {{KEY_B, true}}},
    DecodeCase{.name = "DropTakesTheKernelsKeysAsTheyAreNow", .records = {down(rctrl), syn, dropped, syn}, .kernelDown = std::vector<unsigned>{a}, .expected = {{rctrl, true}, {a, true}, {rctrl, false}}},
    DecodeCase{.name = "DropKeepsAKeyStillHeld", .records = {down(rctrl), syn, dropped, syn, up(rctrl), syn}, .kernelDown = std::vector<unsigned>{rctrl}, .expected = {{rctrl, true}, {rctrl, false}}}
));
// clang-format on

TEST(EvdevKeyboard, ARecordSplitAcrossReadsIsReadWhole)
{
    PipedKeyboard piped;
    input_event event{};
    event.type = EV_KEY;
    event.code = KEY_RIGHTCTRL;
    event.value = 1;
    const auto* bytes = reinterpret_cast<const char*>(&event);
    const std::size_t half = sizeof event / 2;
    ASSERT_EQ(::write(piped.writer, bytes, half), static_cast<ssize_t>(half));
    std::vector<Change> changes;
    ASSERT_TRUE(piped.keyboard->read(changes));
    EXPECT_TRUE(changes.empty());
    ASSERT_EQ(::write(piped.writer, bytes + half, sizeof event - half),
              static_cast<ssize_t>(sizeof event - half));
    ASSERT_TRUE(piped.keyboard->read(changes));
    EXPECT_EQ(changes, (std::vector<Change>{{KEY_RIGHTCTRL, true}}));
}

TEST(EvdevKeyboard, ReleasingAllReleasesOnlyWhatIsDown)
{
    PipedKeyboard piped;
    EXPECT_EQ(piped.type({down(KEY_A), down(KEY_RIGHTCTRL), up(KEY_A), syn}).size(), 3U);
    std::vector<Change> released;
    piped.keyboard->releaseAll(released);
    EXPECT_EQ(released, (std::vector<Change>{{KEY_RIGHTCTRL, false}}));
    // Nothing is left down to release twice.
    EXPECT_TRUE(piped.type({up(KEY_RIGHTCTRL), syn}).empty());
}

TEST(EvdevKeyboard, AClosedStreamIsGone)
{
    PipedKeyboard piped;
    ::close(piped.writer);
    piped.writer = -1;
    std::vector<Change> changes;
    EXPECT_FALSE(piped.keyboard->read(changes));
}

TEST(EvdevKeyboard, AnEmptyStreamIsStillThere)
{
    PipedKeyboard piped;
    std::vector<Change> changes;
    EXPECT_TRUE(piped.keyboard->read(changes));
    EXPECT_TRUE(changes.empty());
}

struct CodeCase {
    unsigned code;
    PhysicalKey key;
};

// clang-format off
constexpr CodeCase codeCases[] = {
    {KEY_RIGHTCTRL, PhysicalKey::RightControl}, {KEY_LEFTCTRL, PhysicalKey::LeftControl},
    {KEY_RIGHTALT, PhysicalKey::RightAlt},      {KEY_RIGHTMETA, PhysicalKey::RightSuper},
    {KEY_ESC, PhysicalKey::Escape},             {KEY_LEFTSHIFT, PhysicalKey::Modifier},
    {KEY_RIGHTSHIFT, PhysicalKey::Modifier},    {KEY_LEFTALT, PhysicalKey::Modifier},
    {KEY_LEFTMETA, PhysicalKey::Modifier},      {KEY_CAPSLOCK, PhysicalKey::Modifier},
    {KEY_A, PhysicalKey::Other},                {KEY_COMPOSE, PhysicalKey::Other},
    {KEY_VOLUMEUP, PhysicalKey::Other},         {KEY_F13, PhysicalKey::Other},
};
// clang-format on

TEST(EvdevKeyCodes, NamesKeysByTheirPlace)
{
    for (const CodeCase& row : codeCases)
        EXPECT_EQ(EvdevKeyCodes::classify(row.code), row.key) << "code " << row.code;
}

} // namespace
