#include "ui/pages/style/style_menu.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/soft_picker.h"
#include "ui/pages/settings/correction_notice.h"
#include "ui/pages/style/style_option.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

StyleMenu::StyleMenu(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_binder(new SettingsBinder(state, this))
    , m_label(new KitLabel({}, TextRole::CalloutMedium, Scheme::Text::Secondary))
    , m_menu(new SoftPicker)
    , m_needsProvider(new CorrectionNotice(state, L10n::s("style.needsProvider")))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    column->addLayout(row);
    column->addWidget(m_needsProvider);
    row->addWidget(m_label, 1);
    for (const StyleOption& option : StyleOption::all())
        m_menu->addItem(option.title, option.id);
    row->addWidget(m_menu);
    connect(m_menu, &QComboBox::activated, this,
            [this](int index) { choose(m_menu->itemData(index).toString()); });
    connect(&m_state, &AppState::configChanged, this, &StyleMenu::refresh);
    connect(&m_state, &AppState::frontAppChanged, this, &StyleMenu::refresh);
    refresh();
}

void StyleMenu::refresh()
{
    const auto& front = m_state.frontApp();
    m_label->setText(front ? L10n::format(QStringLiteral("menu.styleFor"), {front->name})
                           : L10n::s(QStringLiteral("menu.style")));
    m_menu->setAccessibleName(m_label->text());
    m_menu->setCurrentIndex(
        m_menu->findData(front ? m_state.effectiveStyle(*front) : m_state.config().style));
}

void StyleMenu::choose(const QString& id)
{
    if (const auto& front = m_state.frontApp()) {
        m_state.setAppStyle(front->bundleID, front->name, id);
        return;
    }
    m_binder->write(&QuendaConfig::style, id);
}
