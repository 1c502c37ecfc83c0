#include "widget_helpers.h"

#include "core/state/state_fixture.h"
#include "core/text/l10n.h"
#include "platform/fake/fake_accessibility_repair.h"
#include "ui/kit/kit_button.h"
#include "ui/kit/kit_label.h"
#include "ui/shell/main_view.h"
#include "ui/shell/menu_bar_view.h"
#include "ui/shell/onboarding_view.h"
#include "ui/shell/shell_window_host.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString tables = QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages");

// Every English text 40 % longer, as a language "xx" written into folder.
void writePseudoLocale(const QString& folder)
{
    QJsonObject longer;
    const L10n::Table& english = L10n::load({{tables}, {QStringLiteral("en")}}).english;
    for (auto it = english.begin(); it != english.end(); ++it) {
        // Words of five, as real languages break lines between words.
        QString padding;
        while (padding.size() < it.value().size() * 0.4)
            padding += QStringLiteral(" \u00e9\u00e9\u00e9\u00e9\u00e9");
        longer.insert(it.key(), QString(it.value() + padding));
    }
    QFile file(folder + QStringLiteral("/xx.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(longer).toJson());
}

class LongTextsTest : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        makeState();
        m_probe.m_microphone = true; // the repair card shows: the longest page
        state().refreshPermissions();
    }
    void TearDown() override
    {
        L10n::install({{tables}, {QStringLiteral("en")}});
        StateFixture::TearDown();
    }

    // No label the views do not wrap and no button is narrower than its text needs; wrapped
    // labels get the height their lines need.
    static void expectNothingCut(QWidget& window, QSize size, const char* where)
    {
        window.resize(size);
        window.show();
        settle();
        for (const KitLabel* label : window.findChildren<KitLabel*>()) {
            if (!label->isVisibleTo(&window))
                continue;
            if (label->wordWrap()) {
                EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                    << where << ": " << label->text().toStdString();
            } else {
                EXPECT_GE(label->width(), label->sizeHint().width())
                    << where << ": " << label->text().toStdString();
            }
            EXPECT_LE(label->mapTo(&window, QPoint(label->width(), 0)).x(), window.width())
                << where << ": " << label->text().toStdString();
        }
        for (const KitButton* button : window.findChildren<KitButton*>()) {
            if (button->isVisibleTo(&window)) {
                EXPECT_GE(button->width(), button->sizeHint().width())
                    << where << ": " << button->text().toStdString();
                EXPECT_LE(button->mapTo(&window, QPoint(button->width(), 0)).x(), window.width())
                    << where << ": " << button->text().toStdString();
            }
        }
    }
};

TEST_F(LongTextsTest, GermanAndFortyPercentLongerTextsFitTheWindowsAtTheirSmallestSizes)
{
    QTemporaryDir pseudo;
    writePseudoLocale(pseudo.path());
    for (const char* language : {"de", "xx"}) {
        SCOPED_TRACE(language);
        L10n::install({{tables, pseudo.path()}, {QString::fromLatin1(language)}});
        FakeAccessibilityRepair repair;
        MainView main(state(), m_commands, &repair);
        expectNothingCut(main, QSize(920, 620), "main");
        state().setFrontApp(
            FrontApp{QStringLiteral("org.mozilla.Thunderbird"), QStringLiteral("Thunderbird")});
        state().mergeInstalledApps(
            {{QStringLiteral("org.mozilla.Thunderbird"), QStringLiteral("Thunderbird")}});
        state().setSection(MainSection::Style);
        expectNothingCut(main, QSize(920, 620), "style");
        state().setSection(MainSection::Commands);
        expectNothingCut(main, QSize(920, 620), "commands");
        state().setSection(MainSection::Home);
        OnboardingView onboarding(state(), m_commands, &repair);
        expectNothingCut(onboarding, QSize(640, 560), "onboarding");
        MenuBarView menu(state(), m_commands);
        expectNothingCut(menu, menu.sizeHint(), "popover");
    }
}

// A Wayland session with no global keys shows both notices above the cards, the bindings unwrapped;
// the onboarding window grows when its hotkey route fails after it showed.
TEST_F(LongTextsTest, TheWaylandNoticesFitTheWindowsAtTheirSmallestSizesInGerman)
{
    L10n::install({{tables}, {QStringLiteral("de")}});
    state().setHotkeyRoute({.route = HotkeyRoute::Portal});
    state().setSessionRoutes({.wayland = true,
                              .keys = KeyRoute::RemoteDesktopPortal,
                              .clipboard = ClipboardRoute::DataControl,
                              .panel = PanelRoute::Hidden});
    FakeAccessibilityRepair repair;
    ShellWindowHost host(state(), m_commands, m_settings, &repair);
    host.showOnboarding();
    state().setHotkeyRoute({.route = HotkeyRoute::CommandLine, .failed = {HotkeyRoute::Portal}});
    MainView main(state(), m_commands, &repair);
    expectNothingCut(main, QSize(920, 620), "main");
    QWidget* onboarding = host.onboardingWindow();
    ASSERT_NE(onboarding, nullptr);
    expectNothingCut(*onboarding, onboarding->size(), "onboarding");
}

} // namespace
