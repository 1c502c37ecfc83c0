#include "ui/shell/onboarding_view.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/shell/permission_rows.h"
#include "ui/shell/session_notice.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

OnboardingView::OnboardingView(AppState& state, QWidget* parent)
    : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(40, 40, 40, 32);
    auto* title = new QLabel(L10n::s(QStringLiteral("onboarding.welcome")), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    title->setFont(big);
    column->addWidget(title);
    auto* intro = new QLabel(L10n::s(QStringLiteral("onboarding.intro")), this);
    intro->setWordWrap(true);
    column->addWidget(intro);
    column->addWidget(SessionNotice::make(this));
    column->addSpacing(24);
    column->addWidget(new PermissionRows(state, this));
    column->addStretch(1);
    auto* done = new QPushButton(L10n::s(QStringLiteral("onboarding.done")), this);
    done->setObjectName(QStringLiteral("onboardingDone"));
    column->addWidget(done, 0, Qt::AlignRight);
    connect(done, &QPushButton::clicked, this, [&state] { state.finishOnboarding(); });
}
