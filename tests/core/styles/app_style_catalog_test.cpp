#include "test_text.h"

#include "core/styles/app_style_catalog.h"

#include <gtest/gtest.h>

TEST(AppStyleCatalog, SuggestsByBundleAndName)
{
    for (const auto& [id, name, style] : {
             std::tuple{"com.todesktop.230313mzl4w4u92", "Whatever", "auto"}, // Cursor by its id
             std::tuple{"com.todesktop.other", "Whatever", "code"},
             std::tuple{"x.unlisted", "CÚRSOR", "auto"}, // Cursor by its name, case and accents folded
             std::tuple{"x.unlisted", "Cursor Beta", "code"}, std::tuple{"com.microsoft.Word", "", "notes"},
             std::tuple{"x.unlisted", "Notion Mail", "email"}, // the first category wins
             std::tuple{"x.unlisted", "Postmaster", "auto"},   // keywords are whole words
         })
        EXPECT_EQ(AppStyleCatalog::suggest(s(id), s(name)), s(style)) << id << " / " << name;
}
