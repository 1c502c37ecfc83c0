#include "test_text.h"

#include "platform/fake/fake_window_system.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

AppWindow window(quint64 id, const char* app, int pid)
{
    return {.window = id, .app = {s(app), s(app)}, .pid = pid, .windowClass = s(app), .terminal = false};
}

// Suites of the inserter and the controller stand on this fake behaving as the X11 backend does.
TEST(FakeWindowSystem, ActivationMovesTheFocusAndWatchersHearOnlyOfAnotherApplication)
{
    FakeWindowSystem windows;
    const AppWindow editor = window(1, "editor", 10);
    const AppWindow secondEditor = window(2, "editor", 10);
    const AppWindow mail = window(3, "mail", 11);
    windows.setWindows({editor, secondEditor, mail});
    QList<quint64> heard;
    auto context = std::make_unique<QObject>();
    windows.watchActiveApp(context.get(),
                           [&](const std::optional<AppWindow>& w) { heard << (w ? w->window : 0); });

    windows.setActive(editor);
    ASSERT_TRUE(windows.activate(secondEditor).ok());
    ASSERT_TRUE(windows.activate(*windows.windowOfProcess(11)).ok());
    EXPECT_EQ(heard, (QList<quint64>{1, 3}));
    EXPECT_EQ(windows.frontmostApp(), mail.app);

    windows.setActivationFailure(WindowSystem::Failure::Reason::WindowGone);
    const auto failed = windows.activate(editor);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(windows.activeWindow(), mail) << "a failed activation moved the focus";

    context.reset();
    windows.setActivationFailure(std::nullopt);
    ASSERT_TRUE(windows.activate(editor).ok());
    EXPECT_EQ(heard.size(), 2) << "a watcher that went away was still called";
}

} // namespace
