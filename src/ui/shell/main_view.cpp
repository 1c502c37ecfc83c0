#include "ui/shell/main_view.h"

#include "core/model/main_section.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/shell/permission_rows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

MainView::MainView(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_sidebar(new QListWidget(this))
    , m_pages(new QStackedWidget(this))
{
    auto* row = new QHBoxLayout(this);
    row->addWidget(m_sidebar);
    row->addWidget(m_pages, 1);
    m_sidebar->setFixedWidth(200);
    for (const MainSection section : MainSectionText::table.values()) {
        m_sidebar->addItem(MainSectionText::title(section));
        m_pages->addWidget(
            section == MainSection::Home
                ? makeHome()
                : makePlaceholder(QStringLiteral("page.purpose.") + MainSectionText::table.text(section)));
    }
    connect(m_sidebar, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < MainSectionText::table.values().size())
            m_state.setSection(MainSectionText::table.values().at(row));
    });
    connect(&m_state, &AppState::sectionChanged, this, &MainView::followSection);
    followSection();
}

int MainView::currentPage() const
{
    return m_pages->currentIndex();
}

void MainView::followSection()
{
    const int index = int(MainSectionText::table.values().indexOf(m_state.section()));
    m_pages->setCurrentIndex(index);
    if (m_sidebar->currentRow() != index)
        m_sidebar->setCurrentRow(index);
}

QWidget* MainView::makeHome()
{
    auto* page = new QWidget(this);
    auto* column = new QVBoxLayout(page);
    auto* title = new QLabel(MainSectionText::title(MainSection::Home), page);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    column->addWidget(title);

    auto* engineRow = new QHBoxLayout;
    engineRow->addWidget(new QLabel(L10n::s(QStringLiteral("home.engine")), page));
    m_engineStatus = new QLabel(page);
    engineRow->addWidget(m_engineStatus, 1);
    auto* reload = new QPushButton(L10n::s(QStringLiteral("home.reload")), page);
    engineRow->addWidget(reload);
    column->addLayout(engineRow);
    connect(reload, &QPushButton::clicked, this, [this] { m_state.reloadEngine(); });
    const auto showStatus = [this] { m_engineStatus->setText(m_state.engineStatus()); };
    connect(&m_state, &AppState::engineStatusChanged, this, showStatus);
    showStatus();

    column->addSpacing(16);
    column->addWidget(new QLabel(L10n::s(QStringLiteral("home.permissions")), page));
    column->addWidget(new PermissionRows(m_state, page));
    column->addStretch(1);
    return page;
}

QWidget* MainView::makePlaceholder(const QString& purposeKey)
{
    auto* label = new QLabel(L10n::s(purposeKey), this);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}
