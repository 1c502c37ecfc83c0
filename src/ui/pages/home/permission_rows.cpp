#include "ui/pages/home/permission_rows.h"
#include "ui/kit/label_button.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "platform/accessibility_repair.h"
#include "ui/kit/permission_row.h"

#include <QVBoxLayout>

PermissionRows::PermissionRows(AppState& state, AccessibilityRepair* repair, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_microphone(new PermissionRow(
          L10n::s("perm.microphone"), L10n::s("perm.microphone.detail"), Symbol::Microphone,
          state.micGranted(), [this] { m_state.requestMicrophone(); }, std::nullopt, this))
    , m_accessibility(new PermissionRow(
          L10n::s("perm.accessibility"), L10n::s("perm.accessibility.detail"), Symbol::Accessibility,
          state.axGranted(),
          [repair] {
              if (repair) {
                  repair->switchOn();
                  repair->openSettings();
              }
          },
          std::nullopt, this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(14);
    column->addWidget(m_microphone);
    column->addWidget(m_accessibility);
    m_accessibility->allowButton()->setEnabled(repair != nullptr);
    connect(&m_state, &AppState::micGrantedChanged, this,
            [this] { m_microphone->setGranted(m_state.micGranted()); });
    connect(&m_state, &AppState::axGrantedChanged, this,
            [this] { m_accessibility->setGranted(m_state.axGranted()); });
}
