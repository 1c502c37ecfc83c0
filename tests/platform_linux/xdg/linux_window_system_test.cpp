#include "platform_linux/x11/test_x_client.h"
#include "temp_support_dir.h"
#include "test_text.h"

#include "platform/linux/xdg/linux_window_system.h"
#include "service_check.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

namespace {

// Windows of the private Xvfb, made by a second client of the test's own. Xvfb runs no window
// manager, so the test sets the root window's EWMH properties the way one would.
class LinuxWindowSystemTest : public TempSupportDir {
protected:
    void SetUp() override
    {
        TempSupportDir::SetUp();
        QUENDA_NEEDS_SERVICE(m_x.display(), "the X server of scripts/with-services");
        const QString apps = QDir(root()).filePath(s("applications"));
        writeAll(apps + s("/org.example.Editor.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Editor\nStartupWMClass=ExampleEdit\n");
        writeAll(apps + s("/org.gnome.gedit.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Text Editor\n");
        writeAll(apps + s("/org.example.Term.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Term\nStartupWMClass=ExTerm\n"
                 "Categories=System;TerminalEmulator;\n");
        m_system = std::make_unique<LinuxWindowSystem>(XdgApplications({apps}));
        // Reads the desktop files now instead of waiting for the start-up scan.
        m_system->installedApps();

        m_editor = m_x.createWindow("exampleedit", "ExampleEdit", 4101);
        m_gedit = m_x.createWindow("gedit", "Gedit", 4102);
        m_xterm = m_x.createWindow("xterm", "XTerm", 4103);
        m_term = m_x.createWindow("exterm", "ExTerm", 4104);
        m_thing = m_x.createWindow("thing", "Thing", 0);
    }
    void TearDown() override
    {
        if (m_x.display()) {
            for (const char* property :
                 {"_NET_ACTIVE_WINDOW", "_NET_CLIENT_LIST", "_NET_SUPPORTING_WM_CHECK"})
                m_x.removeRootProperty(property);
            for (const quint64 window : {m_editor, m_gedit, m_xterm, m_term, m_thing})
                m_x.destroyWindow(window);
        }
        TempSupportDir::TearDown();
    }

    TestXClient m_x;
    std::unique_ptr<LinuxWindowSystem> m_system;
    quint64 m_editor = 0;
    quint64 m_gedit = 0;
    quint64 m_xterm = 0;
    quint64 m_term = 0;
    quint64 m_thing = 0;
};

TEST_F(LinuxWindowSystemTest, TheActiveWindowNamesItsApplicationProcessAndWhetherItIsATerminalAndHowItPastes)
{
    struct Case {
        quint64 window;
        AppWindow expected;
        bool frontmost; // reported as a FrontApp
    };
    // clang-format off
    const Case cases[] = {
        {.window = m_editor, .expected = {.window = m_editor, .app = {s("org.example.Editor"), s("Editor")}, .pid = 4101, .windowClass = s("ExampleEdit"), .terminal = false}, .frontmost = true},
        {.window = m_xterm, .expected = {.window = m_xterm, .app = {s(""), s("XTerm")}, .pid = 4103, .windowClass = s("XTerm"), .terminal = true, .shiftInsertOnly = true}, .frontmost = false},
        {.window = m_term, .expected = {.window = m_term, .app = {s("org.example.Term"), s("Term")}, .pid = 4104, .windowClass = s("ExTerm"), .terminal = true}, .frontmost = true},
    };
    // clang-format on
    for (const Case& c : cases) {
        m_x.setRootWindows("_NET_ACTIVE_WINDOW", {c.window});
        EXPECT_EQ(m_system->activeWindow(), c.expected) << c.expected.windowClass.toStdString();
        EXPECT_EQ(m_system->frontmostApp().has_value(), c.frontmost);
    }
    m_x.setRootWindows("_NET_ACTIVE_WINDOW", {0});
    EXPECT_EQ(m_system->activeWindow(), std::nullopt)
        << "a window manager that says none is active is believed";
}

// The program's start reads the desktop files through installedApps() alone: the window active by
// then is named, and its watchers told, once they are read.
TEST_F(LinuxWindowSystemTest, AWindowActiveBeforeTheFilesAreReadIsNamedOnceTheyAre)
{
    m_x.setRootWindows("_NET_ACTIVE_WINDOW", {m_editor});
    LinuxWindowSystem system(XdgApplications({QDir(root()).filePath(s("applications"))}), {}, nullptr,
                             LinuxWindowSystem::FirstScan::ByInstalledApps);
    QObject context;
    QStringList heard;
    system.watchActiveApp(&context, [&](const std::optional<AppWindow>& active) {
        heard << (active ? active->app.bundleID : QString());
    });
    EXPECT_EQ(system.frontmostApp(), std::nullopt);
    system.installedApps();
    EXPECT_TRUE(m_x.waitFor([&] { return !heard.isEmpty(); })) << "no notice of the named window";
    EXPECT_EQ(heard, QStringList{s("org.example.Editor")});
}

TEST_F(LinuxWindowSystemTest, WatchersHearOfAnotherApplicationButNotOfAnotherWindowOfTheSameOne)
{
    const quint64 secondEditor = m_x.createWindow("exampleedit", "ExampleEdit", 4101);
    QObject context;
    QList<quint64> heard;
    m_system->watchActiveApp(
        &context, [&](const std::optional<AppWindow>& active) { heard << (active ? active->window : 0); });

    m_x.setRootWindows("_NET_ACTIVE_WINDOW", {m_editor});
    ASSERT_TRUE(m_x.waitFor([&] { return !heard.isEmpty(); })) << "no notice of the change";
    m_x.setRootWindows("_NET_ACTIVE_WINDOW", {secondEditor});
    // The read's round trip queues the property's event; one turn of the loop handles it.
    ASSERT_EQ(m_system->activeWindow().value_or(AppWindow{}).window, secondEditor);
    QCoreApplication::processEvents();
    m_x.setRootWindows("_NET_ACTIVE_WINDOW", {m_gedit});
    EXPECT_TRUE(m_x.waitFor([&] { return heard.contains(m_gedit); })) << "no notice of the change";
    EXPECT_EQ(heard, (QList<quint64>{m_editor, m_gedit}));
    m_x.destroyWindow(secondEditor);
}

TEST_F(LinuxWindowSystemTest, WindowsAreFoundByProcessAndApplicationUntilTheyAreGone)
{
    for (const bool listed : {true, false}) {
        SCOPED_TRACE(listed ? "with _NET_CLIENT_LIST" : "without a window manager's list");
        if (listed)
            m_x.setRootWindows("_NET_CLIENT_LIST", {m_editor, m_gedit, m_xterm, m_term, m_thing});
        else
            m_x.removeRootProperty("_NET_CLIENT_LIST");
        EXPECT_EQ(m_system->windowOfProcess(4102).value_or(AppWindow{}).window, m_gedit);
        EXPECT_EQ(m_system->windowOfApp(s("org.example.Term")).value_or(AppWindow{}).window, m_term);
        EXPECT_EQ(m_system->windowOfProcess(0), std::nullopt);
        QStringList running;
        for (const FrontApp& app : m_system->runningApps())
            running << app.bundleID;
        EXPECT_EQ(running,
                  (QStringList{s("org.example.Editor"), s("org.gnome.gedit"), s("org.example.Term")}));
    }

    m_x.setRootWindows("_NET_CLIENT_LIST", {m_editor, m_gedit});
    m_x.destroyWindow(m_gedit);
    EXPECT_EQ(m_system->windowOfProcess(4102), std::nullopt) << "a closed window still counted as running";
    EXPECT_EQ(m_system->windowOfProcess(4101).value_or(AppWindow{}).window, m_editor);
    m_gedit = m_x.createWindow("gedit", "Gedit", 4102); // for TearDown
}

TEST_F(LinuxWindowSystemTest, ActivationFocusesTheWindowWithoutAWindowManagerAndAsksOneWhereItRuns)
{
    const auto gedit = m_system->windowOfProcess(4102);
    ASSERT_TRUE(gedit);
    ASSERT_TRUE(m_system->activate(*gedit).ok());
    EXPECT_EQ(m_x.focusedWindow(), m_gedit);

    AppWindow gone = *gedit;
    gone.window = m_x.createWindow("gone", "Gone", 0);
    m_x.destroyWindow(gone.window);
    const auto refused = m_system->activate(gone);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().reason, WindowSystem::Failure::Reason::WindowGone);

    // A window manager announces itself with a window that names itself.
    const quint64 check = m_x.createWindow("wm", "WindowManager", 0);
    m_x.setWindowProperty(check, "_NET_SUPPORTING_WM_CHECK", check);
    m_x.setRootWindows("_NET_SUPPORTING_WM_CHECK", {check});
    m_x.rootMessages("_NET_ACTIVE_WINDOW");
    const auto editor = m_system->windowOfProcess(4101);
    ASSERT_TRUE(editor);
    ASSERT_TRUE(m_system->activate(*editor).ok());
    QList<TestXClient::RootMessage> messages;
    EXPECT_TRUE(m_x.waitFor([&] {
        messages += m_x.rootMessages("_NET_ACTIVE_WINDOW");
        return !messages.isEmpty();
    }));
    EXPECT_EQ(messages, (QList<TestXClient::RootMessage>{{.window = m_editor, .data = {2, 0, 0}}}));
    EXPECT_EQ(m_x.focusedWindow(), m_gedit) << "the focus is the window manager's to move";
    m_x.destroyWindow(check);
}

} // namespace
