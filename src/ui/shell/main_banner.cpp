#include "ui/shell/main_banner.h"
#include "ui/kit/label_button.h"

#include "core/state/app_commands.h"
#include "core/state/app_state.h"
#include "core/text/busy_caption.h"
#include "core/text/l10n.h"
#include "platform/accessibility_repair.h"
#include "ui/kit/clipboard_text.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/page.h"
#include "ui/kit/permission_row.h"
#include "ui/kit/scheme.h"
#include "ui/kit/scheme_symbol.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int maxWidth = Page::maxColumn - Page::padding.left() - Page::padding.right();
constexpr int shownGraphemes = 140;

// The warning tint of the repair card, so that every call to act looks alike.
class BannerFrame final : public QWidget {
public:
    explicit BannerFrame(QWidget* parent)
        : QWidget(parent)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QColor fill = Scheme::orange(palette());
        fill.setAlphaF(0.09f);
        p.fillPath(KitPaint::rounded(QRectF(rect()), 14), fill);
        QColor rim = Scheme::orange(palette());
        rim.setAlphaF(0.25f);
        p.setPen(QPen(rim, 1));
        p.drawPath(KitPaint::rounded(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 13.5));
    }
};

// A symbol, a title over a detail, and the button at the end.
QWidget* notice(Symbol symbol, const QString& title, QWidget* detail, KitButton* button)
{
    auto* box = new QWidget;
    auto* line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(12);
    line->addWidget(new SchemeSymbol(symbol, 18, Scheme::orange), 0, Qt::AlignVCenter);
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addWidget(new KitLabel(title, TextRole::BodyMedium));
    column->addWidget(detail);
    line->addLayout(column, 1);
    line->addWidget(button, 0, Qt::AlignVCenter);
    return box;
}

} // namespace

MainBanner::MainBanner(AppState& state, AppCommands& commands, AccessibilityRepair* repair, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_commands(commands)
    , m_repair(repair)
    , m_frame(new BannerFrame(this))
    , m_slot(new QVBoxLayout(m_frame))
{
    auto* centre = new QHBoxLayout(this);
    // In line with the page's column; the page's scroll bar lies over its margin.
    centre->setContentsMargins(Page::padding.left(), 16, Page::padding.right(), 0);
    centre->addStretch(0);
    centre->addWidget(m_frame, 1);
    centre->addStretch(0);
    m_frame->setMaximumWidth(maxWidth);
    m_slot->setContentsMargins(16, 12, 16, 12);
    for (const auto signal :
         {&AppState::micGrantedChanged, &AppState::axGrantedChanged, &AppState::permissionsAnsweredChanged,
          &AppState::engineReadyChanged, &AppState::engineLoadingChanged, &AppState::engineStatusChanged,
          &AppState::unpastedDictationChanged, &AppState::historyChanged, &AppState::sectionChanged})
        connect(&m_state, signal, this, &MainBanner::follow);
    hide();
    follow();
}

MainBanner::Kind MainBanner::choose(const AppState& state)
{
    // Before the first real answers the flags are stand-ins; a banner then would only flicker.
    const bool answered = state.permissionsAnswered();
    // Home shows the permissions and the engine in cards of its own, with more than a banner says.
    const bool elsewhere = state.section() != MainSection::Home;
    if (elsewhere && answered && !state.micGranted())
        return Kind::Microphone;
    if (elsewhere && state.engineState() == EngineState::Error)
        return Kind::Engine;
    if (elsewhere && answered && !state.axGranted())
        return Kind::Accessibility;
    if (state.unpastedDictation())
        return Kind::Unpasted;
    return Kind::None;
}

void MainBanner::follow()
{
    const Kind kind = choose(m_state);
    QString source;
    if (kind == Kind::Engine)
        source = m_state.engineStatus();
    else if (kind == Kind::Unpasted)
        source = m_state.unpastedDictation()->id.toString() + m_state.unpastedDictation()->text;
    if (kind == m_kind && source == m_source)
        return;
    m_kind = kind;
    m_source = source;
    build();
}

void MainBanner::build()
{
    if (m_content) {
        // Later, not now: the change may come from the banner's own button, still in its click.
        m_content->hide();
        m_content->deleteLater();
        m_content = nullptr;
    }
    m_action = nullptr;
    switch (m_kind) {
    case Kind::None:
        break;
    case Kind::Microphone:
        m_content = permission(true);
        break;
    case Kind::Engine:
        m_content = engine();
        break;
    case Kind::Accessibility:
        m_content = permission(false);
        break;
    case Kind::Unpasted:
        m_content = unpasted();
        break;
    }
    if (m_content)
        m_slot->addWidget(m_content);
    setVisible(m_content != nullptr);
}

QWidget* MainBanner::permission(bool microphone)
{
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    if (microphone) {
        auto* row = new PermissionRow(L10n::s("perm.microphone"), L10n::s("perm.microphone.detail"),
                                      Symbol::Microphone, false, [this] { m_state.requestMicrophone(); });
        column->addWidget(row);
        m_action = row->allowButton();
        return box;
    }
    // Where the desktop has no settings program to open, the banner says what to do instead.
    auto* noSettings =
        (new KitLabel(L10n::s("ax.noSettings"), TextRole::Callout, Scheme::orange))->wrapping();
    auto* row = new PermissionRow(L10n::s("perm.accessibility"), L10n::s("perm.accessibility.detail"),
                                  Symbol::Accessibility, false, [this, noSettings] {
                                      if (!m_repair)
                                          return;
                                      m_repair->switchOn();
                                      noSettings->setVisible(!m_repair->openSettings());
                                  });
    row->allowButton()->setEnabled(m_repair != nullptr);
    column->addWidget(row);
    column->addWidget(noSettings);
    noSettings->hide();
    m_action = row->allowButton();
    return box;
}

QWidget* MainBanner::engine()
{
    auto* reload = new LabelButton(LabelButton::Style::Primary, L10n::s("home.reload"));
    m_action = reload;
    connect(reload, &LabelButton::clicked, this, [this] { m_commands.reloadEngine(); });
    return notice(
        Symbol::Warning, L10n::s("banner.engine"),
        (new KitLabel(m_state.engineStatus(), TextRole::Callout, Scheme::Text::Secondary))->wrapping(),
        reload);
}

QWidget* MainBanner::unpasted()
{
    const HistoryEntry entry = *m_state.unpastedDictation();
    auto* copy =
        new LabelButton(LabelButton::Style::Primary, L10n::s("banner.unpasted.copy"), nullptr, Symbol::Copy);
    m_action = copy;
    connect(copy, &LabelButton::clicked, this, [this, text = entry.text] {
        ClipboardText::copy(text);
        m_state.setUnpastedDictation(std::nullopt);
    });
    // Two lines at most of a long dictation; the history holds the rest.
    const QString whole = entry.text.simplified();
    const QString shown = BusyCaption::graphemeCount(whole) > shownGraphemes
                              ? BusyCaption::leadingGraphemes(whole, shownGraphemes) + u'…'
                              : whole;
    auto* text = (new KitLabel(shown, TextRole::Callout, Scheme::Text::Secondary))->wrapping();
    return notice(Symbol::Clipboard, L10n::s("banner.unpasted"), text, copy);
}
