#include "ui/shell/menu_bar_view.h"
#include "ui/kit/label_button.h"

#include "core/state/app_commands.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/quenda_mark.h"
#include "ui/kit/status_pill.h"
#include "ui/kit/theme.h"
#include "ui/pages/history/recent_history.h"
#include "ui/pages/home/session_notice.h"
#include "ui/pages/notes/note_destination_picker.h"
#include "ui/pages/style/style_menu.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

QVBoxLayout* slot(QVBoxLayout* column)
{
    auto* place = new QVBoxLayout;
    place->setContentsMargins(0, 0, 0, 0);
    column->addLayout(place);
    return place;
}

} // namespace

MenuBarView::MenuBarView(AppState& state, AppCommands& commands, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_commands(commands)
    , m_status(new StatusPill(state.clock(), state.engineState(), state.engineStatus(), this))
    , m_dictate(new LabelButton(LabelButton::Style::Primary, {}, this, Symbol::Microphone))
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setMinimumWidth(minWidth);
    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetNoConstraint);
    column->setContentsMargins(14, 14, 14, 12);
    column->setSpacing(12);

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(new QuendaMark(22, this));
    header->addWidget(new KitLabel(QStringLiteral("Quenda"), TextRole::Brand, Scheme::Text::Primary, this),
                      1);
    header->addWidget(m_status);
    column->addLayout(header);
    column->addWidget(SessionNotice::routes(state, this));
    column->addWidget(m_dictate, 0, Qt::AlignLeft);

    // Without history the popover has no recent list at all, nor the room around one.
    m_recent = new QWidget(this);
    m_historySlot = new QVBoxLayout(m_recent);
    m_historySlot->setContentsMargins(0, 0, 0, 0);
    m_historySlot->setSpacing(4);
    m_historySlot->addWidget(
        new KitLabel(L10n::s("menu.recent"), TextRole::CaptionStrong, Scheme::Text::Secondary, m_recent));
    auto* recent = new RecentHistory(state, HistoryRow::Mode::Compact, recentCount, nullptr, m_recent);
    m_historySlot->addWidget(recent);
    column->addWidget(m_recent);
    connect(recent, &RecentHistory::filled, m_recent, &QWidget::setVisible);
    m_recent->setVisible(!recent->rows().isEmpty());
    m_destinationSlot = slot(column);
    m_destinationSlot->addWidget(new NoteDestinationPicker(state, this));
    m_styleSlot = slot(column);
    m_styleSlot->addWidget(new StyleMenu(state, commands, this));

    auto* actions = new QHBoxLayout;
    actions->setSpacing(8);
    auto* open = new LabelButton(LabelButton::Style::Soft, L10n::s("menu.open"), this);
    auto* notes = new LabelButton(LabelButton::Style::Soft, L10n::s("menu.notes"), this, Symbol::Note);
    auto* quit = new LabelButton(LabelButton::Style::Soft, L10n::s("menu.quit"), this);
    actions->addWidget(open);
    actions->addWidget(notes);
    actions->addStretch(1);
    actions->addWidget(quit);
    column->addLayout(actions);

    connect(m_dictate, &LabelButton::clicked, this, [this] { m_commands.toggleRecording(); });
    connect(open, &LabelButton::clicked, this, [this] { m_commands.openMain(std::nullopt); });
    connect(notes, &LabelButton::clicked, this, [this] { m_commands.openNotes(); });
    connect(quit, &LabelButton::clicked, this, &MenuBarView::quitRequested);
    connect(&m_state, &AppState::engineStatusChanged, this, &MenuBarView::refresh);
    connect(&m_state, &AppState::engineReadyChanged, this, &MenuBarView::refresh);
    connect(&m_state, &AppState::engineLoadingChanged, this, &MenuBarView::refresh);
    connect(&m_state, &AppState::phaseChanged, this, &MenuBarView::refresh);
    refresh();
}

void MenuBarView::refresh()
{
    m_status->set(m_state.engineState(), m_state.engineStatus());
    // A call to stop, unlike the call to start: its own word, symbol and colour.
    const bool listening = m_state.phase().is(Phase::Kind::Listening);
    m_dictate->setText(listening ? L10n::s("menu.stop") : L10n::s("menu.dictate"));
    m_dictate->setSymbol(listening ? Symbol::Stop : Symbol::Microphone);
    m_dictate->setColour(listening ? std::optional<QColor>(Theme::red()) : std::nullopt);
    m_dictate->updateGeometry();
}

QSize MenuBarView::sizeHint() const
{
    const QSize natural = QWidget::sizeHint();
    return {natural.width(), hasHeightForWidth() ? heightForWidth(natural.width()) : natural.height()};
}

void MenuBarView::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // The popover floats over any desktop: an edge of its own sets it apart from what lies below.
    QPainter p(this);
    p.setPen(QPen(Scheme::primary(palette(), rimOpacity), 1));
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
