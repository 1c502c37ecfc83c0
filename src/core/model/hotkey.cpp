#include "core/model/hotkey.h"

#include "core/text/l10n.h"

const QList<Hotkey>& HotkeyText::all()
{
    static const QList<Hotkey> keys{Hotkey::RightOption, Hotkey::RightCommand, Hotkey::RightControl,
                                    Hotkey::Function, Hotkey::LeftControl};
    return keys;
}

QString HotkeyText::rawValue(Hotkey key)
{
    switch (key) {
    case Hotkey::RightOption:
        return QStringLiteral("rightOption");
    case Hotkey::RightCommand:
        return QStringLiteral("rightCommand");
    case Hotkey::RightControl:
        return QStringLiteral("rightControl");
    case Hotkey::Function:
        return QStringLiteral("function");
    case Hotkey::LeftControl:
        return QStringLiteral("leftControl");
    }
    return QStringLiteral("rightControl");
}

std::optional<Hotkey> HotkeyText::fromRaw(const QString& raw)
{
    for (Hotkey key : all()) {
        if (rawValue(key) == raw)
            return key;
    }
    return std::nullopt;
}

Hotkey HotkeyText::fromStored(const QString& raw)
{
    return fromRaw(raw).value_or(Hotkey::RightControl);
}

QString HotkeyText::title(Hotkey key)
{
    return L10n::s(QStringLiteral("hotkey.") + rawValue(key));
}

QString HotkeyText::symbol(Hotkey key)
{
    return L10n::s(QStringLiteral("hotkey.") + rawValue(key) + QStringLiteral(".symbol"));
}
