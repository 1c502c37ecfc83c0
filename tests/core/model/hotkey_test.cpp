#include "test_text.h"

#include "core/model/hotkey.h"
#include "core/text/hotkey_text.h"
#include "core/text/l10n.h"

#include <gtest/gtest.h>

TEST(Hotkey, EveryKeyHasATitleAndASymbolInTheShippedTables)
{
    for (const char* language : {"en", "de"}) {
        L10n::install({{QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")}, {s(language)}});
        for (Hotkey key : HotkeyText::table.values()) {
            const QString raw = HotkeyText::table.text(key);
            EXPECT_NE(HotkeyText::title(key), s("hotkey.") + raw) << language;
            EXPECT_NE(HotkeyText::symbol(key), s("hotkey.") + raw + s(".symbol")) << language;
        }
    }
}
