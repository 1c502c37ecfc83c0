#include "ui/shell/onboarding_view.h"

#include "core/model/hotkey.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/card.h"
#include "ui/kit/card_shadows.h"
#include "ui/kit/heading_role.h"
#include "ui/kit/key_cap.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/primary_button.h"
#include "ui/kit/quenda_mark.h"
#include "ui/kit/status_pill.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/home/hotkey_route_notice.h"
#include "ui/pages/home/permission_rows.h"
#include "ui/pages/home/session_notice.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

OnboardingView::OnboardingView(AppState& state, AccessibilityRepair* repair, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_binder(new SettingsBinder(state, this))
    , m_engine(new StatusPill(state.clock(), state.engineState(), state.engineStatus()))
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    auto* column = new QVBoxLayout(this);
    // The window takes windowSize(): the layout's minimum reckons wrapped texts at narrower widths
    // than the window's and would leave a band of nothing above Done.
    column->setSizeConstraint(QLayout::SetNoConstraint);
    column->setContentsMargins(40, 36, 40, 28);
    column->setSpacing(16);

    auto* brand = new QHBoxLayout;
    brand->setSpacing(14);
    brand->addWidget(new QuendaMark(52, this));
    auto* titles = new QVBoxLayout;
    titles->setSpacing(4);
    auto* title = new KitLabel(L10n::s("onboarding.welcome"), TextRole::Title, Scheme::Text::Primary, this);
    HeadingRole::mark(title);
    titles->addWidget(title);
    // The key as its cap below names it.
    const Hotkey hotkey = state.config().hotkey;
    titles->addWidget(
        (new KitLabel(L10n::format(QStringLiteral("onboarding.intro"), {HotkeyText::title(hotkey)}),
                      TextRole::Body, Scheme::Text::Secondary, this))
            ->wrapping());
    brand->addLayout(titles, 1);
    column->addLayout(brand);
    column->addWidget(SessionNotice::card(state, this));
    column->addWidget(HotkeyRouteNotice::make(state, this));

    auto* start = new Card(16, this);
    auto* hotkeyRow = new QHBoxLayout;
    hotkeyRow->setSpacing(10);
    hotkeyRow->addWidget(
        new KitLabel(L10n::s("onboarding.hotkey"), TextRole::BodyMedium, Scheme::Text::Primary, start));
    hotkeyRow->addWidget(new KeyCap(HotkeyText::title(hotkey), false, start));
    hotkeyRow->addStretch(1);
    start->content()->addLayout(hotkeyRow);
    auto* engineRow = new QHBoxLayout;
    engineRow->setSpacing(10);
    engineRow->addWidget(
        new KitLabel(L10n::s("home.engine"), TextRole::BodyMedium, Scheme::Text::Primary, start));
    engineRow->addWidget(m_engine);
    engineRow->addStretch(1);
    start->content()->addLayout(engineRow);
    column->addWidget(start);

    auto* permissions = new Card(16, this);
    permissions->content()->addWidget(new PermissionRows(state, repair, permissions));
    column->addWidget(permissions);
    column->addStretch(1);
    new CardShadows(*this);

    // The last row: launching at login is on unless switched off here, so nobody is registered
    // without having seen the switch.
    auto* last = new QHBoxLayout;
    last->setSpacing(10);
    m_launchAtLogin = m_binder->toggle(&QuendaConfig::launchAtLogin, L10n::s("settings.launchAtLogin"));
    last->addWidget(m_launchAtLogin);
    last->addWidget(
        new KitLabel(L10n::s("settings.launchAtLogin"), TextRole::BodyMedium, Scheme::Text::Primary, this),
        1);
    auto* done = new PrimaryButton(L10n::s("onboarding.done"), this);
    done->setObjectName(QStringLiteral("onboardingDone"));
    last->addWidget(done);
    column->addLayout(last);
    connect(done, &PrimaryButton::clicked, this, [this] { m_state.finishOnboarding(); });
    const auto followEngine = [this] { m_engine->set(m_state.engineState(), m_state.engineStatus()); };
    connect(&m_state, &AppState::engineStatusChanged, this, followEngine);
    connect(&m_state, &AppState::engineReadyChanged, this, followEngine);
    connect(&m_state, &AppState::engineLoadingChanged, this, followEngine);
}

QSize OnboardingView::windowSize() const
{
    constexpr int width = 640;
    // As tall as the content at this width, so Done follows the last card.
    return {width, layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width)
                                                 : layout()->totalSizeHint().height()};
}
