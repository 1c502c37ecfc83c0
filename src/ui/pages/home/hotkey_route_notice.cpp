#include "ui/pages/home/hotkey_route_notice.h"

#include "core/model/hotkey_routes.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/card.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/scheme_symbol.h"
#include "ui/kit/theme.h"

#include <QHBoxLayout>
#include <QPainter>
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

QColor secondary(const QPalette& palette)
{
    return Scheme::text(palette, Scheme::Text::Secondary);
}

QString textOf(const char* prefix, HotkeyRoute route)
{
    return L10n::s(QLatin1String(prefix) + HotkeyRouteText::names.text(route));
}

// Configuration lines in a tinted block of their own, in the fixed font, to be selected and copied.
class CodeBlock final : public QWidget {
public:
    CodeBlock(const QString& text, QWidget* parent)
        : QWidget(parent)
    {
        auto* box = new QVBoxLayout(this);
        box->setContentsMargins(12, 9, 12, 9);
        auto* lines = new KitLabel(text, TextRole::Mono, Scheme::Text::Primary, this);
        lines->setTextInteractionFlags(Qt::TextSelectableByMouse);
        lines->setCursor(Qt::IBeamCursor);
        box->addWidget(lines);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(Theme::stroke(palette()), 1));
        p.setBrush(Scheme::primary(palette(), 0.04));
        p.drawPath(KitPaint::rounded(box, 8));
    }
};

// What happened to the routes that failed, what the route in use does, and how to do better.
void fill(QWidget& notice, const HotkeyRouteStatus& status, Hotkey hotkey)
{
    const HotkeyRoute route = status.route;
    const bool best = route == HotkeyRoute::Evdev;
    // Without a binding of the user's own, Quenda has no hotkey outside its windows.
    const bool unbound = route == HotkeyRoute::CommandLine || route == HotkeyRoute::OwnWindows;
    auto* row = new QHBoxLayout(&notice);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    row->addWidget(unbound || !status.failed.isEmpty()
                       ? new SchemeSymbol(Symbol::Warning, 16, Scheme::orange, &notice)
                       : new SchemeSymbol(Symbol::Info, 16, secondary, &notice),
                   0, Qt::AlignTop);
    auto* column = new QVBoxLayout;
    column->setSpacing(8);
    for (const HotkeyRoute failed : status.failed)
        column->addWidget((new KitLabel(textOf("hotkeyRoute.failed.", failed), TextRole::BodyMedium,
                                        Scheme::orange, &notice))
                              ->wrapping());
    column->addWidget((new KitLabel(textOf("hotkeyRoute.", route), TextRole::BodyMedium,
                                    best ? Scheme::Text::Secondary : Scheme::Text::Primary, &notice))
                          ->wrapping());
    if (route == HotkeyRoute::CommandLine) {
        column->addWidget(new CodeBlock(HotkeyRouteNotice::swayBinding(hotkey), &notice));
        column->addWidget(new KitLabel(L10n::s("hotkeyRoute.hyprland"), TextRole::BodyMedium,
                                       Scheme::Text::Primary, &notice));
        column->addWidget(new CodeBlock(HotkeyRouteNotice::hyprlandBinding(hotkey), &notice));
    }
    if (!best)
        column->addWidget(
            (new KitLabel(L10n::s("hotkeyRoute.best"), TextRole::Callout, Scheme::Text::Secondary, &notice))
                ->wrapping());
    row->addLayout(column, 1);
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
    auto* notice = new Card(18, parent);
    notice->setObjectName(QStringLiteral("hotkeyRouteNotice"));
    const auto follow = [notice, &state] {
        const QString name = QStringLiteral("hotkeyRouteLines");
        delete notice->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        auto* body = new QWidget(notice);
        body->setObjectName(name);
        notice->content()->addWidget(body);
        fill(*body, state.hotkeyRoute(), state.config().hotkey);
        // Shown now rather than on the layout's next turn, so a window sized to fit counts the lines.
        body->show();
        notice->setVisible(state.hotkeyRoute().route != HotkeyRoute::X11Desktop);
    };
    QObject::connect(&state, &AppState::hotkeyRouteChanged, notice, follow);
    follow();
    return notice;
}
