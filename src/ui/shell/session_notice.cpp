#include "ui/shell/session_notice.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/scheme.h"

QLabel* SessionNotice::routes(const AppState& state, QWidget* parent)
{
    auto* notice = (new KitLabel({}, 12.5, QFont::Medium, Scheme::orange, parent))->wrapping();
    notice->setObjectName(QStringLiteral("sessionRoutesNotice"));
    const auto follow = [notice, &state] {
        const SessionRoutes& routes = state.sessionRoutes();
        QStringList lines;
        for (const QString& key : routes.needs() + routes.gaps())
            lines.append(L10n::s(key));
        notice->setText(lines.join(QLatin1Char('\n')));
        notice->setVisible(!lines.isEmpty());
    };
    QObject::connect(&state, &AppState::sessionRoutesChanged, notice, follow);
    follow();
    return notice;
}
