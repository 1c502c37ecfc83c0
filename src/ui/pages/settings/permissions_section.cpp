#include "core/base/support_paths.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/accessibility_repair_card.h"
#include "ui/kit/soft_button.h"
#include "ui/pages/home/permission_rows.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/settings_section.h"
#include "ui/pages/settings/settings_sections.h"

#include <QFrame>
#include <QVBoxLayout>

namespace {

// Below the accessibility row and a divider while the permission is missing; built anew each
// time, so a card shown again starts idle.
QWidget* repairSlot(AppState& state, AccessibilityRepair* repair)
{
    auto* slot = new QWidget;
    auto* fill = new QVBoxLayout(slot);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->setSpacing(14);
    const auto follow = [&state, repair, slot, fill] {
        const bool wanted = repair && !state.axGranted();
        if (wanted == (fill->count() > 0))
            return;
        while (QLayoutItem* item = fill->takeAt(0)) {
            delete item->widget();
            delete item;
        }
        if (wanted) {
            auto* divider = new QFrame;
            divider->setFrameShape(QFrame::HLine);
            divider->setFrameShadow(QFrame::Plain);
            divider->setForegroundRole(QPalette::Mid);
            fill->addWidget(divider);
            fill->addWidget(new AccessibilityRepairCard(state, *repair));
        }
        slot->setVisible(wanted);
    };
    QObject::connect(&state, &AppState::axGrantedChanged, slot, follow);
    follow();
    return slot;
}

SettingsRow* supportFolder(AppState& state)
{
    auto* open = new SoftButton(L10n::s("settings.open"));
    open->setAccessibleName(L10n::s("settings.open.help"));
    auto* row = new SettingsRow(L10n::s("settings.supportFolder"), open, SupportPaths::directory());
    QObject::connect(open, &SoftButton::clicked, row, [&state, row] {
        row->setProblem(state.openSupportFolder() ? QString() : L10n::s("settings.open.failed"));
    });
    return row;
}

} // namespace

SettingsSection* SettingsSections::permissions(SettingsBinder& binder, AccessibilityRepair* repair)
{
    AppState& state = binder.state();
    auto* section = new SettingsSection(Symbol::Accessibility, L10n::s("settings.permissions.title"));
    section->addRow(new PermissionRows(state, repair));
    section->addRow(repairSlot(state, repair));
    section->addRow(supportFolder(state));
    return section;
}
