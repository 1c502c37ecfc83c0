#include "pasteboard_samples.h"
#include "test_text.h"
#include "wayland_peers.h"

#include "core/base/system_clock.h"
#include "dictation/insert/inserter_rig.h"
#include "dictation/insert/paste_cycle.h"
#include "platform/fake/fake_accessibility.h"
#include "platform/fake/fake_key_synthesizer.h"
#include "platform/fake/fake_window_system.h"
#include "platform/fake/manual_clock.h"
#include "platform/linux/keys/chord_synthesizer.h"
#include "platform/linux/wayland/data_control_pasteboard.h"
#include "platform/linux/wayland/virtual_keyboard.h"
#include "platform/linux/wayland/wayland_connection.h"
#include "service_check.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace WaylandPeers;

namespace {

using Items = QList<PasteboardItem>;

using PasteboardSamples::item;

const Items usersClipboard{item("text/plain", "the user's own words"),
                           item("text/html", "<b>the user's own words</b>"),
                           item("image/png", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10))};

// The desktop of the suite: the compositor's clipboard with fakes for the rest.
struct CompositorClipboard {
    WaylandConnection m_connection;
    DataControlPasteboard m_board{m_connection};
    ManualClock m_clock;
    FakeAccessibility m_a11y{&m_clock};
    FakeKeySynthesizer m_keys{m_clock};
    FakeWindowSystem m_windows;
};

// The paste cycle on the compositor's clipboard; the keys and the field are fakes, and the field
// cannot be read, so the restore waits its full time on the manual clock.
class WaylandPasteCycleTest : public ::testing::Test, protected CompositorClipboard, protected InserterRig {
protected:
    WaylandPasteCycleTest()
        : InserterRig({m_a11y, m_keys, m_board, m_windows, m_clock, 1}, [this](const auto&) { pump(1); })
    {
    }
    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(m_board.ready(), "a Wayland compositor offering data control (sway of "
                                              "scripts/with-services, or the suite's own KWin)");
        // An X window of XWayland's, known by its class; its field cannot be read.
        m_windows.setActive(
            AppWindow{.window = 1, .app = {}, .pid = 4242, .windowClass = {}, .terminal = false});
        FakeAccessibility::Element field = FakeAccessibility::field({});
        field.unreadable = true;
        m_a11y.setFocused(m_a11y.add(field));
    }

    // The user's clipboard, owned by another program.
    void ownedByAnother(std::optional<ClipboardOwner>& owner, const Items& items)
    {
        const quint64 before = m_board.changeCount();
        ASSERT_TRUE(owner.emplace(items).owns());
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_board.changeCount() != before; }, 5000));
    }
    void pump(int ms) { InserterRig::pump(m_clock, ms); }
};

TEST_F(WaylandPasteCycleTest, TheUsersClipboardComesBackUnlessTheyCopyDuringTheWait)
{
    // When the user copies with wl-copy: never, while the restore waits, or so late that the
    // compositor's event is still unread when the restore decides.
    enum class Copy { Never, DuringTheWait, JustBeforeTheRestore };
    struct Case {
        const char* what;
        Copy copies;
        QByteArray textAfter;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "nobody copies", .copies = Copy::Never, .textAfter = "the user's own words"},
        {.what = "the user copies during the wait", .copies = Copy::DuringTheWait, .textAfter = "copied meanwhile"},
        {.what = "the user copies just before the restore", .copies = Copy::JustBeforeTheRestore, .textAfter = "copied meanwhile"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<ClipboardOwner> owner;
        ownedByAnother(owner, usersClipboard);
        const QStringList typesBefore = wlTypes();

        const std::optional<InsertResult> result = insert(s("dictated"));
        ASSERT_TRUE(result);
        EXPECT_EQ(result->outcome, InsertResult::Outcome::Pasted);
        EXPECT_EQ(wlPaste(s("text/plain")), "dictated") << "the paste would not find our text";

        std::optional<WlCopy> copying;
        if (c.copies == Copy::DuringTheWait) {
            const quint64 ours = m_board.changeCount();
            copying.emplace(s("text/plain"), "copied meanwhile");
            ASSERT_TRUE(QTest::qWaitFor([&] { return m_board.changeCount() != ours; }, 5000));
        }
        if (c.copies == Copy::JustBeforeTheRestore) {
            // The field never shows the text, so the restore waits out its settle time next, and
            // the clock alone brings it, with no event read meanwhile.
            pump(PasteCycle::visibleLimitMs + PasteCycle::visiblePollMs + 10);
            // Another client of the compositor sees the copy, through its own connection alone.
            WaylandConnection other;
            DataControlPasteboard seen(other);
            const quint64 ours = seen.changeCount();
            copying.emplace(s("text/plain"), "copied meanwhile");
            ASSERT_TRUE(other.dispatchUntil([&] { return seen.changeCount() != ours; }, 10000));
            m_clock.advance(PasteCycle::visiblePollMs + PasteCycle::settleMs);
        }
        pump(PasteCycle::visibleLimitMs + PasteCycle::settleMs + 100);

        EXPECT_EQ(wlPaste(s("text/plain")), c.textAfter);
        if (c.copies == Copy::Never) {
            EXPECT_EQ(wlTypes(), typesBefore);
            for (const PasteboardItem& saved : usersClipboard)
                EXPECT_EQ(wlPaste(saved.type), saved.data) << saved.type.toStdString();
        }
    }
}

TEST_F(WaylandPasteCycleTest, WithoutAccessOurTextStaysAndOnlyAClipboardOfNoPasswordManagerIsReported)
{
    struct Case {
        const char* what;
        Items users;
        QStringList displaced;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "ordinary text", .users = {item("text/plain", "the user's own words")}, .displaced = {s("the user's own words")}},
        {.what = "a password manager's copy", .users = {item("text/plain", "hunter2"), item("x-kde-passwordManagerHint", "secret")}, .displaced = {}},
    };
    // clang-format on
    permissions.trusted = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        displaced.clear();
        std::optional<ClipboardOwner> owner;
        ownedByAnother(owner, c.users);

        insert(s("dictated"));
        pump(PasteCycle::visibleLimitMs + PasteCycle::settleMs + 100);

        EXPECT_EQ(wlPaste(s("text/plain")), "dictated");
        EXPECT_EQ(displaced, c.displaced);
    }
}

// foot, sway's terminal, shows accessibility nothing and its window cannot be named, and Ctrl+V
// types ^V there: Shift+Insert brings it our text from the primary selection, which holds the
// user's selection again afterwards.
TEST(WaylandTerminalPasteTest, ANativeTerminalWithoutAccessibilityTakesTheTextFromThePrimarySelection)
{
    if (qgetenv("QUENDA_CLIPBOARD_COMPOSITOR") == "kwin")
        GTEST_SKIP() << "KWin gives its fake input only to an installed program; sway's run holds this";
    const QString foot = QStandardPaths::findExecutable(s("foot"));
    QUENDA_NEEDS_SERVICE(!foot.isEmpty(), "foot");
    WaylandConnection connection;
    // Made before the terminal: the headless seat has no other keyboard to focus it with.
    VirtualKeyboard keyboard(connection);
    QUENDA_NEEDS_SERVICE(keyboard.unavailable().isEmpty(), "a compositor offering a virtual keyboard");
    SystemClock clock;
    ChordSynthesizer keys(keyboard, clock);
    DataControlPasteboard board(connection);
    DataControlPasteboard primary(connection, {}, DataControlPasteboard::Selection::Primary);
    ASSERT_TRUE(primary.ready());
    FakeAccessibility nothingAccessible;
    FakeWindowSystem noWindowKnown;
    InserterRig rig({nothingAccessible, keys, board, noWindowKnown, clock, 1, &primary},
                    [](const auto& done) { (void)waitFor(done); });
    board.writeText(s("the user's own words"));
    primary.writeText(s("selected by the user"));

    const QString text = s("dictated über words");
    QTemporaryDir dir;
    const QString focused = dir.filePath(s("focused"));
    const QString typed = dir.filePath(s("typed"));
    QProcess terminal;
    terminal.setProcessEnvironment(clientEnvironment({}));
    terminal.start(foot,
                   {s("sh"), s("-c"),
                    s("stty raw -echo; head -c 1 >/dev/null; : > '%1'; cat > '%2'").arg(focused, typed)});
    // The terminal takes the keyboard focus a moment after its command starts: a v now and then
    // tells when.
    QElapsedTimer sinceTap;
    ASSERT_TRUE(waitFor([&] {
        if (!sinceTap.isValid() || sinceTap.elapsed() > 200) {
            (void)keyboard.press(SyntheticKeyboard::Key::V);
            (void)keyboard.release(SyntheticKeyboard::Key::V);
            sinceTap.start();
        }
        return QFile::exists(focused);
    })) << "foot never had the keyboard focus";

    const std::optional<InsertResult> result = rig.insert(text);
    const auto read = [&] {
        QFile file(typed);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    // Taps that were on their way when the focus was found come first.
    EXPECT_TRUE(waitFor([&] { return read().endsWith(text.toUtf8()); })) << read().toStdString();
    EXPECT_EQ(result.value_or(InsertResult{}).outcome, InsertResult::Outcome::Pasted);
    EXPECT_TRUE(waitFor([&] { return wlPastePrimary() == "selected by the user"; }));
    EXPECT_TRUE(waitFor([&] { return wlPaste(s("text/plain")) == "the user's own words"; }));
    terminal.kill();
    terminal.waitForFinished();
}

} // namespace
