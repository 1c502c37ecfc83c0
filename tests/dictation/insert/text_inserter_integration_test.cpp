#include "core/base/system_clock.h"
#include "dictation/insert/inserter_rig.h"
#include "platform/linux/atspi/atspi_accessibility.h"
#include "platform/linux/clipboard/qt_clipboard_pasteboard.h"
#include "platform/linux/keys/chord_synthesizer.h"
#include "platform/linux/x11/xtest_keyboard.h"
#include "platform/linux/xdg/linux_window_system.h"
#include "platform_linux/atspi/target_window.h"
#include "platform_linux/x11/test_x_client.h"
#include "service_check.h"
#include "test_text.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int waitMs = 10000;

template <typename R> std::optional<R> ask(Accessibility& a11y, std::function<R(Accessibility&)> work)
{
    QObject context;
    std::optional<R> answer;
    a11y.run<R>(std::move(work), &context, [&](R result) { answer = std::move(result); });
    (void)QTest::qWaitFor([&] { return answer.has_value(); }, waitMs);
    return answer;
}

// The real backends on the private Xvfb and accessibility bus of scripts/with-services, with a
// Qt window of our own in another process to paste into.
class TextInserterIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(ServiceCheck::inServices(), "the desktop services of scripts/with-services");
        m_a11y = std::make_unique<AtspiAccessibility>();
        ASSERT_TRUE(ask<bool>(*m_a11y, [](Accessibility& a) { return a.trusted(); }).value_or(false));
        m_rig.emplace(InserterRig::Desktop{*m_a11y, m_keys, m_board, m_windows, m_clock,
                                           QCoreApplication::applicationPid(), &m_primary},
                      [](const auto& done) { (void)QTest::qWaitFor(done, waitMs); });
        m_inserter = &m_rig->inserter;
    }
    void TearDown() override
    {
        if (m_x.display())
            m_x.removeRootProperty("_NET_ACTIVE_WINDOW");
    }

    std::unique_ptr<TargetWindow> target(const QString& text, const QString& selection)
    {
        auto window =
            std::make_unique<TargetWindow>(QStringLiteral(QUENDA_ATSPI_TARGET), QStringList{text, selection});
        EXPECT_TRUE(window->ready()) << "the Qt window did not take the focus";
        // The window is focused for X before the accessibility bus hears of it.
        const bool focused = QTest::qWaitFor(
            [&] {
                return ask<bool>(*m_a11y,
                                 [pid = window->pid()](Accessibility& a) {
                                     const std::optional<AccessibleElement> f = a.focusedElement();
                                     return f && a.processId(*f) == pid;
                                 })
                    .value_or(false);
            },
            waitMs);
        EXPECT_TRUE(focused) << "no accessible focus in the Qt window";
        return window;
    }
    // As a window manager would: the window gets the focus and is named the active one.
    void activate(quint64 window)
    {
        m_x.focus(window);
        m_x.setRootWindows("_NET_ACTIVE_WINDOW", {window});
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const std::optional<AppWindow> active = m_windows.activeWindow();
                return active && active->window == window;
            },
            waitMs));
    }
    std::optional<QString> focusedValue()
    {
        return ask<std::optional<QString>>(*m_a11y,
                                           [](Accessibility& a) -> std::optional<QString> {
                                               const std::optional<AccessibleElement> f = a.focusedElement();
                                               return f ? a.value(*f) : std::nullopt;
                                           })
            .value_or(std::nullopt);
    }

    SystemClock m_clock;
    XTestKeyboard m_keyboard;
    ChordSynthesizer m_keys{m_keyboard, m_clock};
    QtClipboardPasteboard m_board;
    QtClipboardPasteboard m_primary{QClipboard::Selection};
    LinuxWindowSystem m_windows;
    TestXClient m_x;
    std::unique_ptr<AtspiAccessibility> m_a11y;
    std::optional<InserterRig> m_rig;
    TextInserter* m_inserter = nullptr;
    QObject m_context;
};

TEST_F(TextInserterIntegrationTest, PastesIntoAnotherApplicationAndPutsEveryClipboardTypeBack)
{
    const QList<PasteboardItem> mine = {{s("text/plain"), "mine"}, {s("text/html"), "<b>mine</b>"}};
    m_board.write(mine);
    const auto window = target(s("note: "), s("6,0"));
    const std::optional<InsertResult> result = m_rig->insert(s("dictated words"));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, InsertResult::Outcome::Pasted);
    EXPECT_TRUE(QTest::qWaitFor([&] { return focusedValue() == s("note: dictated words"); }, waitMs))
        << focusedValue().value_or(s("<none>")).toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_board.plainText() == s("mine"); }, waitMs));
    EXPECT_EQ(m_board.data(s("text/html")), QByteArray("<b>mine</b>"));
}

TEST_F(TextInserterIntegrationTest, CapturesARealSelectionAndWritesOverIt)
{
    const auto window = target(s("please fix teh typo"), s("11,3"));
    m_inserter->rememberInsertTarget();
    std::optional<std::optional<QString>> captured;
    m_inserter->captureSelection(&m_context, [&](const std::optional<QString>& text) { captured = text; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return captured.has_value(); }, waitMs));
    EXPECT_EQ(*captured, s("teh"));

    std::optional<TextInserter::WrittenBack> written;
    m_inserter->replaceRememberedSelection(s("the"), &m_context,
                                           [&](const TextInserter::WrittenBack& w) { written = w; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return written.has_value(); }, waitMs));
    EXPECT_TRUE(written->ok());
    EXPECT_TRUE(QTest::qWaitFor([&] { return focusedValue() == s("please fix the typo"); }, waitMs))
        << focusedValue().value_or(s("<none>")).toStdString();
}

TEST_F(TextInserterIntegrationTest, ATerminalGetsPasteKeysItBindsAndNeverCtrlC)
{
    ASSERT_TRUE(m_x.display());
    struct Row {
        const char* instance;
        const char* className;
        const char* pasteKey;
        const char* modifiers;
    };
    // clang-format off
    const Row rows[] = {
        {"gnome-terminal", "Gnome-terminal", "v",      "CS"},
        {"xterm",          "XTerm",          "Insert", "S"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.instance);
        const quint64 terminal = m_x.createWindow(row.instance, row.className, 4321);
        activate(terminal);
        ASSERT_TRUE(m_windows.activeWindow()->terminal);

        std::optional<InsertResult> result;
        m_inserter->insert(s("ls"), &m_context, [&](const InsertResult& r) { result = r; });
        std::optional<std::optional<QString>> captured;
        QList<TestXClient::KeyEvent> events;
        EXPECT_TRUE(m_x.waitFor(
            [&] {
                events << m_x.keyEvents();
                return result.has_value() &&
                       events.contains(TestXClient::release(row.pasteKey, row.modifiers));
            },
            waitMs))
            << ::testing::PrintToString(events);
        m_inserter->captureSelection(&m_context,
                                     [&](const std::optional<QString>& text) { captured = text; });
        EXPECT_TRUE(m_x.waitFor([&] { return captured.has_value(); }, waitMs));
        // Lets a copy chord, had one been posted, reach the window.
        (void)m_x.waitFor([] { return false; }, 600);
        events << m_x.keyEvents();
        EXPECT_EQ(captured.value_or(s("?")), std::nullopt);
        EXPECT_TRUE(events.contains(TestXClient::press(row.pasteKey, row.modifiers)))
            << ::testing::PrintToString(events);
        const bool copied = std::any_of(events.begin(), events.end(), [](const TestXClient::KeyEvent& e) {
            return e.down && e.key == s("c");
        });
        EXPECT_FALSE(copied) << ::testing::PrintToString(events);
        m_x.destroyWindow(terminal);
    }
}

// xterm binds no Ctrl+Shift+V, which would type ^V: it reads Shift+Insert from the primary
// selection, which holds the user's selection again afterwards.
TEST_F(TextInserterIntegrationTest, AnXtermTakesTheTextFromThePrimarySelectionAndTheUsersComesBack)
{
    const QString xterm = QStandardPaths::findExecutable(s("xterm"));
    QUENDA_NEEDS_SERVICE(!xterm.isEmpty(), "xterm");
    const QString text = s("dictated über words");
    m_primary.writeText(s("selected by the user"));
    QTemporaryDir dir;
    const QString ready = dir.filePath(s("ready"));
    const QString typed = dir.filePath(s("typed"));
    QProcess terminal;
    terminal.start(
        xterm,
        {s("-e"), s("sh"), s("-c"),
         s("stty raw -echo; : > '%1'; head -c %2 > '%3'").arg(ready).arg(text.toUtf8().size()).arg(typed)});
    std::optional<AppWindow> window;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            window = m_windows.windowOfProcess(static_cast<int>(terminal.processId()));
            return window && QFile::exists(ready);
        },
        waitMs));
    activate(window->window);
    EXPECT_TRUE(m_windows.activeWindow()->shiftInsertOnly);

    const std::optional<InsertResult> result = m_rig->insert(text);
    const auto read = [&] {
        QFile file(typed);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return read() == text.toUtf8(); }, waitMs)) << read().toStdString();
    EXPECT_EQ(result.value_or(InsertResult{}).outcome, InsertResult::Outcome::Pasted);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_primary.plainText() == s("selected by the user"); }, waitMs));
    terminal.kill();
    terminal.waitForFinished();
}

} // namespace
