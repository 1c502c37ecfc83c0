#include "test_text.h"

#include "ui/pages/style/style_option.h"
#include "ui/pages/style/visible_apps.h"

#include <gtest/gtest.h>

namespace {

QStringList ids(const QList<AppStyleProfile>& profiles)
{
    QStringList found;
    for (const AppStyleProfile& profile : profiles)
        found << profile.bundleID;
    return found;
}

} // namespace

TEST(VisibleApps, QueryAndViewDecideWhichApplicationsShowInStoredOrder)
{
    // Stored in name order: an uncustomised "auto" app, a recognised one, a customised "auto" one
    // and one whose name has diacritics.
    const QList<AppStyleProfile> known{
        {s("org.gnome.Calculator"), s("Calculator"), s("auto"), s("auto"), false},
        {s("org.mozilla.Thunderbird"), s("Thunderbird"), s("email"), s("email"), false},
        {s("org.kde.kate"), s("Kate"), s("code"), s("auto"), true},
        {s("de.example.Uebersicht"), s("Übersicht"), s("auto"), s("auto"), false},
        {s("org.gnome.Notes"), s("Notes"), s("auto"), s("notes"), true},
    };
    struct Row {
        const char* query;
        bool showAll;
        QStringList shown;
    };
    // clang-format off
    const Row rows[] = {
        {.query = "",          .showAll = false, .shown = {s("org.mozilla.Thunderbird"), s("org.kde.kate"), s("org.gnome.Notes")}},
        {.query = "",          .showAll = true,  .shown = ids(known)},
        {.query = "   \n",     .showAll = false, .shown = {s("org.mozilla.Thunderbird"), s("org.kde.kate"), s("org.gnome.Notes")}},
        {.query = "  \t",      .showAll = true,  .shown = ids(known)},
        {.query = "CALC",      .showAll = false, .shown = {s("org.gnome.Calculator")}},
        {.query = "uber",      .showAll = false, .shown = {s("de.example.Uebersicht")}},
        {.query = "org.gnome", .showAll = false, .shown = {s("org.gnome.Calculator"), s("org.gnome.Notes")}},
        {.query = " kate ",    .showAll = true,  .shown = {s("org.kde.kate")}},
        {.query = "nothing",   .showAll = true,  .shown = {}},
    };
    // clang-format on
    for (const Row& row : rows)
        EXPECT_EQ(ids(visibleApps(known, s(row.query), row.showAll)), row.shown) << row.query << row.showAll;
}

TEST(StyleOptions, SixStylesInOrderAndTitlesOfUnknownIdsAsTheyAre)
{
    QStringList order;
    for (const StyleOption& option : StyleOption::all()) {
        order << option.id;
        EXPECT_NE(option.title, s("style.") + option.id) << "every title is translated";
        EXPECT_NE(option.after, s("style.") + option.id + s(".after"));
    }
    EXPECT_EQ(order, (QStringList{s("auto"), s("literal"), s("email"), s("chat"), s("notes"), s("code")}));
    EXPECT_EQ(StyleOption::titled(s("code")), StyleOption::all().at(5).title);
    EXPECT_EQ(StyleOption::titled(s("EMAIL")), s("EMAIL")); // ids match exactly
    EXPECT_EQ(StyleOption::titled(s("poetry")), s("poetry"));
}
