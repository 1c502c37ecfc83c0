#include "test_text.h"

#include "core/model/hotkey.h"
#include "core/text/l10n.h"

#include <gtest/gtest.h>

TEST(Hotkey, RawValuesRoundTripAndAnythingElseIsAbsent)
{
    for (Hotkey key : HotkeyText::all())
        EXPECT_EQ(HotkeyText::fromRaw(HotkeyText::rawValue(key)), key);
    for (const char* raw : {"", "RightControl", "rightcontrol", " rightControl", "fn"})
        EXPECT_FALSE(HotkeyText::fromRaw(s(raw))) << raw;
}

TEST(Hotkey, AStoredValueNamingNoKeyFallsBackToRightControl)
{
    EXPECT_EQ(HotkeyText::fromStored(s("leftControl")), Hotkey::LeftControl);
    EXPECT_EQ(HotkeyText::fromStored(s("capsLock")), Hotkey::RightControl);
    EXPECT_EQ(HotkeyText::fromStored({}), Hotkey::RightControl);
}

TEST(Hotkey, EveryKeyHasATitleAndASymbolInTheShippedTables)
{
    for (const char* language : {"en", "de"}) {
        L10n::install({{QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")}, {s(language)}});
        for (Hotkey key : HotkeyText::all()) {
            const QString raw = HotkeyText::rawValue(key);
            EXPECT_NE(HotkeyText::title(key), s("hotkey.") + raw) << language;
            EXPECT_NE(HotkeyText::symbol(key), s("hotkey.") + raw + s(".symbol")) << language;
        }
    }
}
