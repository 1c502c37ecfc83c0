#include "ui/shell/hotkey_route_notice.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/scheme.h"

#include <QFontDatabase>
#include <QVBoxLayout>

namespace {

struct KeyNames {
    int keycode;         // the X keycode compositors bind by, the same in every layout
    const char* hyprMod; // the modifier the key itself has set by the time it is released
};

KeyNames namesOf(Hotkey hotkey)
{
    switch (hotkey) {
    case Hotkey::RightOption:
        return {108, "ALT"};
    case Hotkey::RightCommand:
        return {134, "SUPER"};
    case Hotkey::LeftControl:
        return {37, "CTRL"};
    case Hotkey::RightControl:
    case Hotkey::Function:
        break;
    }
    return {105, "CTRL"};
}

const char* routeKey(HotkeyRoute route)
{
    switch (route) {
    case HotkeyRoute::Evdev:
        return "hotkeyRoute.evdev";
    case HotkeyRoute::KGlobalAccel:
        return "hotkeyRoute.kglobalaccel";
    case HotkeyRoute::Portal:
        return "hotkeyRoute.portal";
    case HotkeyRoute::CommandLine:
    case HotkeyRoute::X11Desktop:
        break;
    }
    return "hotkeyRoute.commandLine";
}

QLabel* snippet(const QString& text, QWidget* parent)
{
    auto* label = new KitLabel(text, 10.5, QFont::Normal, Scheme::Text::Primary, parent);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(10.5);
    label->setFont(fixed);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QString HotkeyRouteNotice::swayBinding(Hotkey hotkey)
{
    const int code = namesOf(hotkey).keycode;
    return QStringLiteral("bindcode --no-repeat %1 exec quenda --hotkey press\n"
                          "bindcode --release %1 exec quenda --hotkey release")
        .arg(code);
}

QString HotkeyRouteNotice::hyprlandBinding(Hotkey hotkey)
{
    const KeyNames names = namesOf(hotkey);
    return QStringLiteral("bind = , code:%1, exec, quenda --hotkey press\n"
                          "bindr = %2, code:%1, exec, quenda --hotkey release")
        .arg(names.keycode)
        .arg(QLatin1String(names.hyprMod));
}

QWidget* HotkeyRouteNotice::make(const AppState& state, QWidget* parent)
{
    auto* notice = new QWidget(parent);
    notice->setObjectName(QStringLiteral("hotkeyRouteNotice"));
    const HotkeyRoute route = state.hotkeyRoute();
    notice->setVisible(route != HotkeyRoute::X11Desktop);
    auto* column = new QVBoxLayout(notice);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    const bool best = route == HotkeyRoute::Evdev;
    column->addWidget((new KitLabel(L10n::s(routeKey(route)), 12.5, QFont::Medium,
                                    best ? Scheme::Text::Secondary : Scheme::Text::Primary, notice))
                          ->wrapping());
    if (route == HotkeyRoute::CommandLine) {
        const Hotkey hotkey = state.config().hotkey;
        column->addWidget(snippet(swayBinding(hotkey), notice));
        column->addWidget(new KitLabel(L10n::s("hotkeyRoute.hyprland"), 12.5, QFont::Medium,
                                       Scheme::Text::Primary, notice));
        column->addWidget(snippet(hyprlandBinding(hotkey), notice));
    }
    if (!best)
        column->addWidget(
            (new KitLabel(L10n::s("hotkeyRoute.best"), 12, QFont::Normal, Scheme::Text::Secondary, notice))
                ->wrapping());
    return notice;
}
