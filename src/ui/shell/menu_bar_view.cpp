#include "ui/shell/menu_bar_view.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/shell/session_notice.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MenuBarView::MenuBarView(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_status(new QLabel(this))
    , m_dictate(new QPushButton(this))
{
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_status);
    column->addWidget(SessionNotice::make(this));
    column->addWidget(m_dictate);
    auto* open = new QPushButton(L10n::s(QStringLiteral("menu.open")), this);
    auto* notes = new QPushButton(L10n::s(QStringLiteral("menu.notes")), this);
    auto* quit = new QPushButton(L10n::s(QStringLiteral("menu.quit")), this);
    column->addWidget(open);
    column->addWidget(notes);
    column->addWidget(quit);
    connect(m_dictate, &QPushButton::clicked, this, [this] { m_state.toggleRecording(); });
    connect(open, &QPushButton::clicked, this, [this] { m_state.openMain(); });
    connect(notes, &QPushButton::clicked, this, [this] { m_state.openNotes(); });
    connect(quit, &QPushButton::clicked, this, &MenuBarView::quitRequested);
    connect(&m_state, &AppState::engineStatusChanged, this, &MenuBarView::refresh);
    connect(&m_state, &AppState::phaseChanged, this, &MenuBarView::refresh);
    refresh();
}

void MenuBarView::refresh()
{
    m_status->setText(m_state.engineStatus());
    m_dictate->setText(L10n::s(m_state.phase().is(Phase::Kind::Listening) ? QStringLiteral("menu.stop")
                                                                          : QStringLiteral("menu.dictate")));
}
