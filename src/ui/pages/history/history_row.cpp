#include "ui/pages/history/history_row.h"
#include "ui/kit/label_button.h"

#include "core/base/clock.h"
#include "core/state/app_state.h"
#include "core/text/fmt.h"
#include "core/text/l10n.h"
#include "ui/kit/clipboard_text.h"
#include "ui/kit/icon_button.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/motion.h"
#include "ui/kit/reveal.h"
#include "ui/kit/scheme.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

const QString separator = QStringLiteral("\u00b7");

// The raw transcript under the text, on a faint rounded fill.
class TranscriptBlock final : public QWidget {
public:
    explicit TranscriptBlock(const QString& raw, QWidget* parent)
        : QWidget(parent)
    {
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(12, 12, 12, 12);
        column->setSpacing(4);
        column->addWidget(
            new KitLabel(L10n::s("history.spoken"), TextRole::CaptionStrong, Scheme::Text::Secondary));
        auto* body = (new KitLabel(raw, TextRole::Body, Scheme::Text::Secondary))->wrapping();
        body->setTextInteractionFlags(Qt::TextSelectableByMouse);
        column->addWidget(body);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(KitPaint::rounded(QRectF(rect()), 10), Scheme::primary(palette(), 0.04));
    }
};

} // namespace

QList<HistoryMeta::Item> HistoryRow::metaItems(const HistoryEntry& entry, Mode mode, const QDateTime& now)
{
    using Item = HistoryMeta::Item;
    QList<Item> items{
        {std::nullopt, mode == Mode::Full ? Fmt::time(entry.date) : Fmt::relative(entry.date, now)}};
    if (!entry.isDictation()) {
        items << Item{std::nullopt, separator} << Item{Symbol::Clipboard, {}}
              << Item{std::nullopt, L10n::s("history.clipboard")};
    } else {
        if (entry.app && !entry.app->isEmpty())
            items << Item{std::nullopt, separator} << Item{std::nullopt, *entry.app};
        if (entry.wasCommand.value_or(false))
            items << Item{std::nullopt, separator} << Item{Symbol::Wand, {}}
                  << Item{std::nullopt, L10n::s("history.rewritten")};
    }
    if (mode != Mode::Compact) {
        const int words = entry.words();
        items << Item{std::nullopt, separator}
              << Item{std::nullopt, words == 1 ? L10n::s("history.wordOne")
                                               : L10n::format(QStringLiteral("history.words"), {words})};
    }
    return items;
}

HistoryRow::HistoryRow(AppState& state, const HistoryEntry& entry, Mode mode, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_entry(entry)
    , m_mode(mode)
    , m_text(new LineLimitedLabel(mode == Mode::Compact ? 2 : 3))
    , m_meta(new HistoryMeta)
    , m_copyButton(new IconButton(Symbol::Copy, L10n::s("history.copyHelp")))
    , m_removeButton(new IconButton(Symbol::Trash, L10n::s("history.remove")))
    , m_column(new QVBoxLayout(this))
    , m_texts(new QVBoxLayout)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    const int vertical = mode == Mode::Compact ? 8 : 11;
    m_column->setContentsMargins(12, vertical, 12, vertical);
    // The panel brings its own gap, so the row closes without a step.
    m_column->setSpacing(0);

    auto* header = new QHBoxLayout;
    header->setSpacing(12);
    m_texts->setSpacing(5);
    m_text->setFont(KitFont::of(mode == Mode::Compact ? TextRole::Body : TextRole::Lead));
    m_texts->addWidget(m_text);
    header->addLayout(m_texts, 1);
    if (mode == Mode::Compact) {
        // In the narrow popover the buttons stand beside the short meta line, so the text keeps the
        // row's whole width.
        auto* meta = new QHBoxLayout;
        meta->setSpacing(header->spacing());
        meta->addWidget(m_meta, 1);
        meta->addWidget(m_copyButton);
        meta->addWidget(m_removeButton);
        m_texts->addLayout(meta);
    } else {
        m_texts->addWidget(m_meta);
        header->addWidget(m_copyButton, 0, Qt::AlignTop);
        header->addWidget(m_removeButton, 0, Qt::AlignTop);
    }
    m_column->addLayout(header);

    m_removeButton->setInk([](const QPalette& p) { return Scheme::red(p); });
    m_copyButton->setInk([](const QPalette& p) { return Scheme::text(p, Scheme::Text::Secondary); });
    m_copyButton->setFade(state.clock(), Motion::standardMs, Motion::easeInOut);
    for (IconButton* button : {m_copyButton, m_removeButton}) {
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
        button->installEventFilter(this);
    }
    connect(m_copyButton, &IconButton::clicked, this, &HistoryRow::copy);
    connect(m_removeButton, &IconButton::clicked, this, &HistoryRow::remove);
    setEntry(entry);
    refresh();
}

void HistoryRow::setEntry(const HistoryEntry& entry)
{
    const bool kindChanged = entry.isDictation() != m_entry.isDictation() || entry.raw != m_entry.raw ||
                             (entry.raw == entry.text) != (m_entry.raw == m_entry.text);
    m_entry = entry;
    m_text->setFullText(entry.text);
    if (m_fullText)
        m_fullText->setFullText(entry.text);
    m_meta->setItems(metaItems(entry, m_mode, m_state.clock().now()));
    setAccessibleName(entry.text);
    setAccessibleDescription(m_meta->spoken());
    if (m_panel && kindChanged) {
        delete m_reveal;
        m_reveal = nullptr;
        m_panel = nullptr;
        m_transcript = nullptr;
        m_panelCopy = m_panelCopyRaw = m_panelRemove = nullptr;
        if (m_expanded)
            buildPanel();
        refresh();
    }
}

QString HistoryRow::shownText() const
{
    return m_expanded && m_fullText ? m_fullText->text() : m_text->text();
}

void HistoryRow::setExpanded(bool expanded)
{
    if (m_mode == Mode::Compact || expanded == m_expanded)
        return;
    m_expanded = expanded;
    if (expanded && !m_panel)
        buildPanel();
    refresh();
}

void HistoryRow::buildPanel()
{
    m_fullText = new LineLimitedLabel(std::numeric_limits<int>::max(), this);
    m_fullText->setFont(m_text->font());
    m_fullText->setFullText(m_entry.text);
    m_texts->insertWidget(1, m_fullText);

    m_panel = new QWidget;
    auto* column = new QVBoxLayout(m_panel);
    column->setContentsMargins(0, 10, 0, 0);
    column->setSpacing(10);
    if (m_entry.isDictation()) {
        m_transcript = new TranscriptBlock(m_entry.raw, m_panel);
        column->addWidget(m_transcript);
    }
    if (m_entry.serverFailure)
        column->addWidget(
            (new KitLabel(L10n::format(QStringLiteral("notice.speechFallback"), {*m_entry.serverFailure}),
                          TextRole::Callout, Scheme::Text::Secondary, m_panel))
                ->wrapping());
    auto* bar = new QHBoxLayout;
    bar->setSpacing(8);
    m_panelCopy = new LabelButton(LabelButton::Style::Soft, L10n::s("history.copy"), m_panel);
    bar->addWidget(m_panelCopy);
    connect(m_panelCopy, &LabelButton::clicked, this, &HistoryRow::copy);
    QWidget* last = m_panelCopy;
    // A raw transcript the same as the text would be a second Copy.
    if (m_entry.isDictation() && m_entry.raw != m_entry.text) {
        m_panelCopyRaw = new LabelButton(LabelButton::Style::Soft, L10n::s("history.copyRaw"), m_panel);
        bar->addWidget(m_panelCopyRaw);
        connect(m_panelCopyRaw, &LabelButton::clicked, this, &HistoryRow::copyRaw);
        last = m_panelCopyRaw;
    }
    bar->addStretch(1);
    bar->addSpacing(8);
    m_panelRemove =
        new LabelButton(LabelButton::Style::Soft, L10n::s("history.remove"), m_panel, Symbol::Trash);
    m_panelRemove->setColour(Scheme::red(palette()));
    bar->addWidget(m_panelRemove);
    connect(m_panelRemove, &LabelButton::clicked, this, &HistoryRow::remove);
    column->addLayout(bar);
    m_reveal = new Reveal(m_state.clock(), m_panel, this);
    m_column->addWidget(m_reveal);
    // Made later than the rows after this one: Tab still goes through the row in order.
    setTabOrder(m_removeButton, m_panelCopy);
    setTabOrder(m_panelCopy, last);
    setTabOrder(last, m_panelRemove);
}

void HistoryRow::refresh(bool fadeMark)
{
    const bool focusInside = (m_keyboardFocus && hasFocus()) || m_buttonKeyboardFocus;
    const Symbol mark = m_copied ? Symbol::Check : Symbol::Copy;
    if (m_copyButton->symbol() != mark) {
        if (m_copied)
            m_copyButton->setLook(
                mark, [](const QPalette& p) { return Scheme::green(p); }, fadeMark);
        else
            m_copyButton->setLook(
                mark, [](const QPalette& p) { return Scheme::text(p, Scheme::Text::Secondary); }, fadeMark);
    }
    m_copyButton->setShown(m_hovering || m_copied || focusInside, fadeMark);
    // While the panel is open its own remove button takes this one's place.
    QSizePolicy policy = m_removeButton->sizePolicy();
    policy.setRetainSizeWhenHidden(!m_expanded);
    m_removeButton->setSizePolicy(policy);
    m_removeButton->setVisible(!m_expanded && (m_hovering || focusInside));
    m_text->setVisible(!m_expanded || !m_fullText);
    if (m_fullText)
        m_fullText->setVisible(m_expanded);
    if (m_reveal)
        m_reveal->setOpen(m_expanded, Motion::expandMs, Motion::expand);
    update();
}

bool HistoryRow::live() const
{
    const QList<HistoryEntry>& history = m_state.history();
    return std::any_of(history.begin(), history.end(),
                       [&](const HistoryEntry& e) { return e.id == m_entry.id; });
}

void HistoryRow::click()
{
    if (m_mode == Mode::Compact)
        copy();
    else
        setExpanded(!m_expanded);
}

void HistoryRow::copy()
{
    if (!live())
        return;
    ClipboardText::copy(m_entry.text);
    m_copied = true;
    refresh(true);
    // Not cancelled by a later copy: the mark goes 1.2 s after the first.
    m_state.clock().singleShot(copyMarkMs, this, [this] {
        m_copied = false;
        refresh(true);
    });
}

void HistoryRow::copyRaw()
{
    if (live())
        ClipboardText::copy(m_entry.raw);
}

void HistoryRow::remove()
{
    if (live())
        m_state.deleteHistory(m_entry.id);
}

void HistoryRow::openMenu(const QPoint& at)
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->addAction(L10n::s("history.copy"), this, &HistoryRow::copy);
        m_menu->addAction(L10n::s("history.remove"), this, &HistoryRow::remove);
    }
    m_menu->popup(at);
}

void HistoryRow::enterEvent(QEnterEvent* event)
{
    m_hovering = true;
    refresh();
    QWidget::enterEvent(event);
}

void HistoryRow::leaveEvent(QEvent* event)
{
    m_hovering = false;
    refresh();
    QWidget::leaveEvent(event);
}

void HistoryRow::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void HistoryRow::mouseReleaseEvent(QMouseEvent* event)
{
    const bool clicked =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (clicked)
        click();
}

void HistoryRow::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            click();
            return;
        case Qt::Key_Menu:
            openMenu(mapToGlobal(QPoint(12, height() / 2)));
            return;
        default:
            break;
        }
    }
    QWidget::keyPressEvent(event);
}

void HistoryRow::contextMenuEvent(QContextMenuEvent* event)
{
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                  : mapToGlobal(QPoint(12, height() / 2));
    openMenu(at);
}

void HistoryRow::focusInEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    m_keyboardFocus =
        reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    refresh();
    QWidget::focusInEvent(event);
}

void HistoryRow::focusOutEvent(QFocusEvent* event)
{
    m_keyboardFocus = false;
    refresh();
    QWidget::focusOutEvent(event);
}

bool HistoryRow::eventFilter(QObject* watched, QEvent* event)
{
    // Tab from the row to its buttons keeps them on show.
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        m_buttonKeyboardFocus = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
        refresh();
    } else if (event->type() == QEvent::FocusOut) {
        m_buttonKeyboardFocus = false;
        refresh();
    }
    return QWidget::eventFilter(watched, event);
}

void HistoryRow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange && m_panelRemove)
        m_panelRemove->setColour(Scheme::red(palette()));
    QWidget::changeEvent(event);
}

void HistoryRow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = KitPaint::rounded(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10);
    if (m_hovering || m_expanded)
        p.fillPath(shape, Scheme::primary(palette(), 0.045));
    if (m_keyboardFocus && hasFocus())
        KitPaint::focusRing(p, KitPaint::rounded(QRectF(rect()).adjusted(3, 3, -3, -3), 8), *this);
}
