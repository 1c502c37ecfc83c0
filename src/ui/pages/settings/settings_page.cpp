#include "ui/pages/settings/settings_page.h"

#include "core/model/main_section.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/page.h"
#include "ui/pages/settings/correction_section.h"
#include "ui/pages/settings/settings_section.h"
#include "ui/pages/settings/settings_sections.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace {

constexpr int layoutPasses = 3;

constexpr std::array<const char*, SettingsPage::sectionCount> names{
    "dictation", "languages", "speech", "correction", "widget", "history", "start", "permissions"};

} // namespace

SettingsPage::SettingsPage(AppState& state, AccessibilityRepair* repair, OpenAIKeyStore* keys,
                           QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_binder(new SettingsBinder(state, this))
    , m_page(new Page(MainSectionText::title(MainSection::Settings), L10n::s("settings.subtitle"), this))
    , m_correction(new CorrectionSection(*m_binder, keys))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(m_page);
    m_sections = {
        SettingsSections::dictation(*m_binder),    SettingsSections::languages(*m_binder),
        SettingsSections::speech(*m_binder, keys), m_correction,
        SettingsSections::widget(*m_binder),       SettingsSections::history(*m_binder),
        SettingsSections::start(*m_binder),        SettingsSections::permissions(*m_binder, repair)};
    for (QWidget* section : m_sections)
        m_page->content()->addWidget(section);
    connect(&m_state, &AppState::settingsToOpenChanged, this, &SettingsPage::followRequest);
    followRequest();
}

void SettingsPage::followRequest()
{
    const std::optional<Section> place = m_state.settingsToOpen();
    if (!place)
        return;
    m_pending = place;
    m_state.setSettingsToOpen(std::nullopt);
    if (isVisible())
        scrollSoon();
}

void SettingsPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_pending)
        scrollSoon();
}

void SettingsPage::scrollSoon()
{
    // After the layouts the showing posted, and those they post in turn: texts that wrap take their
    // height from their width, so the sections stand where they will stay only on a later pass.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_pending)
                return;
            for (int pass = 0; pass < layoutPasses; ++pass)
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            scrollTo(*std::exchange(m_pending, std::nullopt));
        },
        Qt::QueuedConnection);
}

QString SettingsPage::sectionName(Section section)
{
    return QString::fromLatin1(names.at(size_t(section)));
}

void SettingsPage::scrollTo(Section section)
{
    QWidget* target = m_sections.at(int(section));
    m_page->verticalScrollBar()->setValue(target->mapTo(m_page->widget(), QPoint(0, 0)).y() -
                                          Page::padding.top() / 2);
}
