#include "ui/pages/home/home_page.h"
#include "ui/kit/label_button.h"

#include "core/state/app_commands.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "core/text/main_section_text.h"
#include "platform/accessibility_repair.h"
#include "ui/kit/accessibility_repair_card.h"
#include "ui/kit/card.h"
#include "ui/kit/empty_hint.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/page.h"
#include "ui/pages/history/recent_history.h"
#include "ui/pages/home/hotkey_guide.h"
#include "ui/pages/home/hotkey_route_notice.h"
#include "ui/pages/home/permission_rows.h"
#include "ui/pages/home/session_notice.h"
#include "ui/pages/settings/correction_notice.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

HomePage::HomePage(AppState& state, AppCommands& commands, AccessibilityRepair* repair, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_repair(repair)
    , m_engineStatus(new KitLabel({}, TextRole::Body, Scheme::Text::Secondary))
    , m_repairSlot(new QVBoxLayout)
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* page = new Page(MainSectionText::title(MainSection::Home), QString(), this);
    fill->addWidget(page);

    page->content()->addWidget(SessionNotice::card(state, page));
    page->content()->addWidget(HotkeyRouteNotice::make(state, page));
    m_repairSlot->setContentsMargins(0, 0, 0, 0);
    page->content()->addLayout(m_repairSlot);
    page->content()->addWidget(HotkeyGuide::make(state, page));

    auto* engine = new Card(18);
    engine->content()->setSpacing(8);
    engine->content()->addWidget(new KitLabel(L10n::s("home.engine"), TextRole::Heading));
    auto* engineRow = new QHBoxLayout;
    engineRow->addWidget(m_engineStatus->wrapping(), 1);
    m_engineStatus->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* reload = new LabelButton(LabelButton::Style::Soft, L10n::s("home.reload"));
    reload->setToolTip(L10n::s("home.reload.detail"));
    reload->setAccessibleDescription(reload->toolTip());
    engineRow->addWidget(reload);
    engine->content()->addLayout(engineRow);
    engine->content()->addWidget(
        (new KitLabel(L10n::s("home.reload.detail"), TextRole::Caption, Scheme::Text::Tertiary))->wrapping());
    engine->content()->addWidget(new CorrectionNotice(state, commands, L10n::s("home.needsProvider")));
    page->content()->addWidget(engine);

    // Beside the engine, in sight at the window's first size: on this page a missing permission is
    // shown here and not in the banner above the pages.
    auto* permissions = new Card(18);
    permissions->content()->setSpacing(14);
    permissions->content()->addWidget(new KitLabel(L10n::s("home.permissions"), TextRole::Heading));
    permissions->content()->addWidget(new PermissionRows(state, repair));
    page->content()->addWidget(permissions);

    auto* recent = new Card(18);
    recent->content()->setSpacing(8);
    recent->content()->addWidget(new KitLabel(L10n::s("home.recent"), TextRole::Heading));
    recent->content()->addWidget(new RecentHistory(
        state, HistoryRow::Mode::Relative, recentCount,
        new EmptyHint(Symbol::Clock, L10n::s("home.recentEmptyTitle"), L10n::s("home.recentEmptyBody"))));
    page->content()->addWidget(recent);

    connect(reload, &LabelButton::clicked, this, [&commands] { commands.reloadEngine(); });
    connect(&m_state, &AppState::engineStatusChanged, this, &HomePage::followEngine);
    connect(&m_state, &AppState::engineReadyChanged, this, &HomePage::followEngine);
    connect(&m_state, &AppState::engineLoadingChanged, this, &HomePage::followEngine);
    connect(&m_state, &AppState::micGrantedChanged, this, &HomePage::followPermissions);
    connect(&m_state, &AppState::axGrantedChanged, this, &HomePage::followPermissions);
    followEngine();
    followPermissions();
}

void HomePage::followEngine()
{
    m_engineStatus->setText(m_state.engineStatus());
}

void HomePage::followPermissions()
{
    const bool wanted = m_repair && m_state.micGranted() && !m_state.axGranted();
    if (wanted && !m_repairCard) {
        m_repairCard = new AccessibilityRepairCard(m_state, *m_repair, this);
        m_repairSlot->addWidget(m_repairCard);
    } else if (!wanted && m_repairCard) {
        // Removed, not hidden: shown again later, the card starts idle.
        delete m_repairCard;
        m_repairCard = nullptr;
    }
}
