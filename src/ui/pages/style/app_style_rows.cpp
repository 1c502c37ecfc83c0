#include "ui/pages/style/app_style_rows.h"
#include "ui/kit/label_button.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/keyed_rows.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/scheme.h"
#include "ui/kit/search_field.h"
#include "ui/kit/symbol_view.h"
#include "ui/kit/theme.h"
#include "ui/pages/style/app_icon_cache.h"
#include "ui/pages/style/style_option.h"
#include "ui/pages/style/visible_apps.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QSet>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int iconSide = 28;
constexpr int dividerIndent = 44;
constexpr int rowPadding = 8;
constexpr int gap = 10;       // after the icon
constexpr int pickerGap = 18; // before the picker
constexpr int wordGap = 2;    // between the name and the hint

} // namespace

AppStyleRow::AppStyleRow(AppState& state, AppIconCache& icons, const AppStyleProfile& profile,
                         QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_profile(profile)
    , m_icon(new QLabel(this))
    , m_name(new KitLabel({}, TextRole::BodyMedium, Scheme::Text::Primary, this))
    , m_hint(new KitLabel({}, TextRole::Caption, Scheme::Text::Secondary, this))
    , m_picker(new LabelButton(LabelButton::Style::Soft, {}, this, Symbol::ChevronDown))
{
    m_icon->setFixedSize(iconSide, iconSide);
    m_icon->setPixmap(icons.icon(profile.bundleID).pixmap(QSize(iconSide, iconSide), devicePixelRatioF()));
    m_icon->setAccessibleName(profile.name);
    // A light button, not a combo box: two hundred combo boxes made showing every application slow.
    m_picker->setFixedWidth(pickerWidth);
    // Its height does not depend on its text: taken while it has none, which costs no text layout.
    m_picker->setFixedHeight(m_picker->sizeHint().height());
    connect(m_picker, &LabelButton::clicked, this,
            [this] { styleMenu()->popup(m_picker->mapToGlobal(QPoint(0, m_picker->height()))); });
    setProfile(profile);
}

// Placed by hand rather than by a layout: every row is as tall as the others, so neither a row's
// size nor its place asks its texts how wide they are, and rows out of sight never lay them out.
QSize AppStyleRow::sizeHint() const
{
    const int words = m_name->fontMetrics().height() + wordGap + m_hint->fontMetrics().height();
    const int tall = std::max({iconSide, words, m_picker->height()});
    return {iconSide + gap + pickerGap + pickerWidth, tall + 2 * rowPadding};
}

QSize AppStyleRow::minimumSizeHint() const
{
    return sizeHint();
}

void AppStyleRow::resizeEvent(QResizeEvent*)
{
    const Qt::LayoutDirection direction = layoutDirection();
    const QRect all = rect();
    const auto place = [&](QWidget* widget, const QRect& box) {
        widget->setGeometry(QStyle::visualRect(direction, all, box));
    };
    const int middle = all.height() / 2;
    place(m_icon, QRect(0, middle - iconSide / 2, iconSide, iconSide));
    const int pickerHeight = m_picker->height();
    place(m_picker, QRect(all.width() - pickerWidth, middle - pickerHeight / 2, pickerWidth, pickerHeight));
    const int left = iconSide + gap;
    const int wide = std::max(0, all.width() - pickerWidth - pickerGap - left);
    const int nameHeight = m_name->fontMetrics().height();
    const int hintHeight = m_hint->fontMetrics().height();
    const int top = middle - (nameHeight + wordGap + hintHeight) / 2;
    place(m_name, QRect(left, top, wide, nameHeight));
    place(m_hint, QRect(left, top + nameHeight + wordGap, wide, hintHeight));
}

void AppStyleRow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LayoutDirectionChange)
        resizeEvent(nullptr);
}

QMenu* AppStyleRow::styleMenu()
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        for (const StyleOption& option : StyleOption::all()) {
            QAction* action = m_menu->addAction(option.title);
            action->setData(option.id);
            action->setCheckable(true);
            connect(action, &QAction::triggered, this, [this, id = option.id] {
                // May end with this row dropped from the list: the list deletes it after this event.
                m_state.setAppStyle(m_profile.bundleID, m_profile.name, id);
            });
        }
    }
    for (QAction* action : m_menu->actions())
        action->setChecked(action->data().toString() == m_picked);
    return m_menu;
}

void AppStyleRow::setProfile(const AppStyleProfile& profile)
{
    m_profile = profile;
    m_name->setText(profile.name);
    m_hint->setText(hint());
    const QString applies = profile.customized ? profile.style : profile.suggested;
    // An id naming no style leaves the picker without a choice.
    m_picked.clear();
    QString title;
    for (const StyleOption& option : StyleOption::all()) {
        if (option.id == applies) {
            m_picked = option.id;
            title = option.title;
        }
    }
    m_picker->setText(title);
    m_picker->setAccessibleName(L10n::format(QStringLiteral("style.pickerFor"), {profile.name}));
}

QString AppStyleRow::hint() const
{
    if (m_profile.customized && m_profile.style != m_profile.suggested)
        return L10n::format(QStringLiteral("style.suggestion"), {StyleOption::titled(m_profile.suggested)});
    return StyleOption::titled(m_profile.suggested);
}

void AppStyleRow::setLast(bool last)
{
    if (m_last != last) {
        m_last = last;
        update();
    }
}

void AppStyleRow::paintEvent(QPaintEvent*)
{
    if (m_last)
        return;
    QPainter painter(this);
    const double y = height() - 0.5;
    QColor line = Scheme::primary(palette(), 0.1);
    painter.setPen(QPen(line, 1));
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    painter.drawLine(QPointF(rtl ? 0 : dividerIndent, y),
                     QPointF(rtl ? width() - dividerIndent : width(), y));
}

AppStylesSection::AppStylesSection(AppState& state, AppIconCache& icons, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_icons(icons)
    , m_toggle(new LabelButton(LabelButton::Style::Soft, L10n::s("style.allApps")))
    , m_search(new SearchField(L10n::s("style.search")))
    , m_empty(new KitLabel({}, TextRole::Body, Scheme::Text::Secondary))
    , m_list(new QVBoxLayout)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    auto* header = new QHBoxLayout;
    auto* titles = new QVBoxLayout;
    titles->setSpacing(4);
    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(6);
    titleRow->addWidget(
        new SymbolView(Symbol::AppWindow, 14, Scheme::text(palette(), Scheme::Text::Primary)));
    titleRow->addWidget(new KitLabel(L10n::s("style.perApp.title"), TextRole::Heading), 1);
    titles->addLayout(titleRow);
    titles->addWidget(
        (new KitLabel(L10n::s("style.perApp.body"), TextRole::Callout, Scheme::Text::Secondary))->wrapping());
    header->addLayout(titles, 1);
    header->addSpacing(12);
    header->addWidget(m_toggle, 0, Qt::AlignTop);
    column->addLayout(header);
    column->addWidget(m_search, 0, Qt::AlignLeft);
    column->addWidget(m_empty);
    m_list->setContentsMargins(0, 0, 0, 0);
    m_list->setSpacing(0);
    column->addLayout(m_list);
    m_rows = std::make_unique<KeyedRows>(*m_list);

    connect(m_toggle, &LabelButton::clicked, this, [this] {
        m_showAll = !m_showAll;
        m_toggle->setText(m_showAll ? L10n::s("style.recognizedOnly") : L10n::s("style.allApps"));
        m_toggle->updateGeometry();
        refresh();
    });
    connect(m_search, &SearchField::textChanged, this, &AppStylesSection::refresh);
    connect(&m_state, &AppState::configChanged, this, &AppStylesSection::refresh);
    refresh();
}

AppStylesSection::~AppStylesSection() = default;

QList<AppStyleRow*> AppStylesSection::rows() const
{
    QList<AppStyleRow*> shown;
    for (int i = 0; i < m_list->count(); ++i) {
        auto* row = qobject_cast<AppStyleRow*>(m_list->itemAt(i)->widget());
        if (row && !row->isHidden())
            shown.append(row);
    }
    return shown;
}

void AppStylesSection::refresh()
{
    const QList<AppStyleProfile>& known = m_state.config().appStyles;
    const QList<AppStyleProfile> visible = visibleApps(known, m_search->text(), m_showAll);
    QSet<QString> shown;
    for (const AppStyleProfile& profile : visible)
        shown.insert(profile.bundleID);
    const QString lastKey = visible.isEmpty() ? QString() : visible.last().bundleID;
    // Showing and hiding a few hundred rows repaints once, after the batch. Each row shown would
    // lay the whole list out again (Qt activates the visible parents' layouts on every show): the
    // layout stays off for the batch and runs once at its end.
    setUpdatesEnabled(false);
    layout()->setEnabled(false);
    m_empty->setText(known.isEmpty() ? L10n::s("style.scanning") : L10n::s("style.noApp"));
    m_empty->setVisible(visible.isEmpty());
    // A row filtered out is hidden, not dropped: a search or the view switch then only shows and
    // hides rows. Rows of applications no longer known go.
    QHash<QString, qsizetype> index;
    QList<QString> keys;
    for (qsizetype i = 0; i < known.size(); ++i) {
        const QString& id = known.at(i).bundleID;
        if (shown.contains(id) || m_rows->row(id)) {
            keys.append(id);
            index.insert(id, i);
        }
    }
    const auto follow = [&](AppStyleRow* row, const QString& key) {
        const bool visibleNow = shown.contains(key);
        const AppStyleProfile& profile = known.at(index.value(key));
        if (visibleNow && !(row->profile() == profile))
            row->setProfile(profile);
        row->setLast(key == lastKey);
        row->setVisible(visibleNow);
    };
    m_rows->apply(
        keys,
        [&](const QString& key) -> QWidget* {
            auto* row = new AppStyleRow(m_state, m_icons, known.at(index.value(key)), this);
            // Shown at the list's width, so the list's layout finds the row laid out already.
            row->resize(width(), row->sizeHint().height());
            follow(row, key);
            return row;
        },
        [&](QWidget* widget, const QString& key) { follow(static_cast<AppStyleRow*>(widget), key); });
    layout()->setEnabled(true);
    // Then what Qt does after a show, once: every visible parent's layout, up to the window.
    for (QWidget* at = this; at && at->isVisible() && at->layout(); at = at->parentWidget()) {
        at->layout()->activate();
        if (at->isWindow())
            break;
    }
    setUpdatesEnabled(true);
}
