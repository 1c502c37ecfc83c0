#include "ui/shell/main_view.h"

#include "core/state/app_state.h"
#include "ui/kit/page.h"
#include "ui/kit/settings_saved_toast.h"
#include "ui/pages/style/app_icon_cache.h"
#include "ui/shell/main_banner.h"
#include "ui/shell/sidebar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

MainView::MainView(AppState& state, AppCommands& commands, AccessibilityRepair* repair, QWidget* parent,
                   AppIcons* icons, OpenAIKeyStore* keys)
    : QWidget(parent)
    , m_state(state)
    , m_icons(std::make_unique<AppIconCache>(icons))
    , m_services{state, commands, repair, *m_icons, keys}
    , m_sidebar(new Sidebar(this))
    , m_banner(new MainBanner(state, commands, repair, this))
    , m_pageSlot(new QVBoxLayout)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_sidebar);
    m_pageSlot->setContentsMargins(0, 0, 0, 0);
    m_pageSlot->setSpacing(0);
    m_pageSlot->addWidget(m_banner);
    m_banner->installEventFilter(this);
    row->addLayout(m_pageSlot, 1);
    connect(m_sidebar, &Sidebar::chosen, this, [this](MainSection section) { m_state.setSection(section); });
    connect(&m_state, &AppState::sectionChanged, this, &MainView::followSection);
    followSection();
    // Under the sidebar and the page's margin, where it covers nothing a page shows.
    new SettingsSavedToast(
        m_state, this, [this] { return QRect(0, 0, m_sidebar->width() + Page::padding.left(), height()); });
}

MainView::~MainView() = default;

int MainView::currentPage() const
{
    return m_pageIndex;
}

void MainView::followSection()
{
    m_sidebar->setCurrent(m_state.section());
    m_pageIndex = PageTable::indexOf(m_state.section());
    QWidget* next = PageTable::row(m_state.section()).make(m_services, this);
    if (m_page) {
        delete m_pageSlot->replaceWidget(m_page, next);
        // Later, not now: the change may come from a control on the old page, still in its click.
        m_page->hide();
        m_page->deleteLater();
    } else {
        m_pageSlot->addWidget(next, 1);
    }
    m_page = next;
    fitUnderBanner();
    if (auto* toast = findChild<SettingsSavedToast*>(QString(), Qt::FindDirectChildrenOnly))
        toast->raise();
}

void MainView::fitUnderBanner()
{
    if (auto* page = m_page ? m_page->findChild<Page*>() : nullptr)
        page->setTopPadding(m_banner->isHidden() ? Page::padding.top() : Page::spacing);
}

bool MainView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_banner &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        fitUnderBanner();
    return QWidget::eventFilter(watched, event);
}
