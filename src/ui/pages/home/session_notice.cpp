#include "ui/pages/home/session_notice.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/card.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/scheme.h"
#include "ui/kit/scheme_symbol.h"

#include <QHBoxLayout>

#include <functional>

namespace {

// The lines, kept to the state's routes; `followed` learns of each new set after the label.
KitLabel* lines(const AppState& state, KitLabel::Ink ink, QWidget* parent,
                std::function<void(const SessionRoutes&)> followed = {})
{
    auto* notice = (new KitLabel({}, TextRole::BodyMedium, std::move(ink), parent))->wrapping();
    notice->setObjectName(QStringLiteral("sessionRoutesNotice"));
    const auto follow = [notice, &state, followed = std::move(followed)] {
        const SessionRoutes& routes = state.sessionRoutes();
        QStringList lines;
        for (const QString& key : routes.needs() + routes.gaps())
            lines.append(L10n::s(key));
        notice->setText(lines.join(QLatin1Char('\n')));
        notice->setVisible(!lines.isEmpty());
        if (followed)
            followed(routes);
    };
    QObject::connect(&state, &AppState::sessionRoutesChanged, notice, follow);
    follow();
    return notice;
}

QColor secondary(const QPalette& palette)
{
    return Scheme::text(palette, Scheme::Text::Secondary);
}

} // namespace

QLabel* SessionNotice::routes(const AppState& state, QWidget* parent)
{
    return lines(state, Scheme::orange, parent);
}

QWidget* SessionNotice::card(const AppState& state, QWidget* parent)
{
    auto* card = new Card(18, parent);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    auto* symbol = new SchemeSymbol(Symbol::Info, 16, secondary, card);
    row->addWidget(symbol, 0, Qt::AlignTop);
    const auto primary = [](const QPalette& palette) { return Scheme::text(palette, Scheme::Text::Primary); };
    row->addWidget(lines(state, primary, card,
                         [card, symbol](const SessionRoutes& routes) {
                             const bool failing = !routes.gaps().isEmpty();
                             symbol->set(failing ? Symbol::Warning : Symbol::Info,
                                         failing ? KitLabel::Ink(Scheme::orange) : KitLabel::Ink(secondary));
                             card->setVisible(!routes.needs().isEmpty() || failing);
                         }),
                   1);
    card->content()->addLayout(row);
    return card;
}
