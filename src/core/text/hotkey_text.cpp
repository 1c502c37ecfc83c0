#include "core/text/hotkey_text.h"

#include "core/text/l10n.h"

QString HotkeyText::title(Hotkey key)
{
    return L10n::s(QStringLiteral("hotkey.") + table.text(key));
}

QString HotkeyText::symbol(Hotkey key)
{
    return L10n::s(QStringLiteral("hotkey.") + table.text(key) + QStringLiteral(".symbol"));
}
