#include "ui/pages/history/history_page.h"
#include "ui/kit/label_button.h"

#include "core/base/clock.h"
#include "core/state/app_state.h"
#include "core/text/fmt.h"
#include "core/text/l10n.h"
#include "ui/kit/card.h"
#include "ui/kit/empty_hint.h"
#include "ui/kit/fold_away.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/motion.h"
#include "ui/kit/page.h"
#include "ui/kit/scheme.h"
#include "ui/kit/search_field.h"
#include "ui/pages/history/clear_history_question.h"
#include "ui/pages/history/history_row.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

const QString emptyKey = QStringLiteral("empty");
const QString dayPrefix = QStringLiteral("day:");

Card* hintCard(Symbol icon, const QString& title, const QString& body)
{
    auto* card = new Card(20);
    card->content()->addWidget(new EmptyHint(icon, title, body));
    return card;
}

} // namespace

HistoryPage::HistoryPage(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_page(new Page(L10n::s("history.title"), L10n::s("history.subtitle"), this))
    , m_field(new SearchField(L10n::s("history.search")))
    , m_clear(new LabelButton(LabelButton::Style::Soft, L10n::s("history.clear"), nullptr, Symbol::Trash))
    , m_confirmation(new ClearHistoryQuestion)
    // The question stands above the day cards.
    , m_cards(std::make_unique<KeyedRows>(*m_page->content(), 1))
{
    m_page->content()->addWidget(m_confirmation);
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(m_page);

    auto* accessory = new QWidget;
    auto* tools = new QHBoxLayout(accessory);
    tools->setContentsMargins(0, 0, 0, 0);
    tools->setSpacing(10);
    tools->addWidget(m_field);
    tools->addWidget(m_clear);
    m_clear->setColour(Scheme::red(palette()));
    m_page->setAccessory(accessory);

    connect(m_field, &SearchField::textChanged, this, [this](const QString& query) {
        m_query = query;
        m_limit = chunk;
        refresh();
    });
    connect(m_clear, &LabelButton::clicked, m_confirmation, &ClearHistoryQuestion::ask);
    connect(m_confirmation, &ClearHistoryQuestion::answered, this, [this](bool clear) {
        if (clear)
            m_state.clearHistory();
        else
            m_clear->setFocus(Qt::OtherFocusReason);
    });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        m_field->editor()->setFocus(Qt::ShortcutFocusReason);
        m_field->editor()->selectAll();
    });
    m_field->editor()->installEventFilter(this);
    connect(&m_state, &AppState::historyChanged, this, [this] {
        m_search.setHistory(m_state.history());
        // A removal springs away; clearing the whole history fades it out.
        const bool cleared = m_state.history().isEmpty();
        refresh([this, cleared](QWidget* gone) {
            FoldAway::start(*gone, m_state.clock(), cleared ? Motion::standardMs : Motion::removeMs,
                            cleared ? Motion::easeInOut : Motion::remove);
        });
    });
    connect(m_page, &Page::nearEnd, this, &HistoryPage::showMore);
    m_search.setHistory(m_state.history());
    refresh();
}

HistoryPage::~HistoryPage() = default;

void HistoryPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Entries past the retention limits go when the page opens.
    if (!event->spontaneous())
        m_state.pruneHistory();
}

void HistoryPage::refresh(const KeyedRows::Leave& leave)
{
    const QList<HistoryEntry>& history = m_state.history();
    m_clear->setVisible(!history.isEmpty());
    if (history.isEmpty()) {
        m_confirmation->hide();
        m_shown = m_matched = 0;
        m_cards->apply(
            {emptyKey},
            [](const QString&) {
                return hintCard(Symbol::Clock, L10n::s("history.emptyTitle"), L10n::s("history.emptyBody"));
            },
            {}, leave);
        m_days.clear();
        return;
    }
    const QList<HistorySearch::Group> groups = m_search.groups(m_query);
    if (groups.isEmpty()) {
        m_shown = m_matched = 0;
        m_cards->apply(
            {QStringLiteral("none:") + m_query},
            [this](const QString&) {
                return hintCard(Symbol::Search, L10n::s("history.noResults"),
                                L10n::format(QStringLiteral("history.noResultsBody"), {m_query}));
            },
            {}, leave);
        m_days.clear();
        return;
    }
    showDays(groups, leave);
}

void HistoryPage::showDays(const QList<HistorySearch::Group>& groups, const KeyedRows::Leave& leave)
{
    const QList<HistoryEntry>& history = m_state.history();
    m_matched = 0;
    for (const HistorySearch::Group& group : groups)
        m_matched += int(group.entries.size());
    m_shown = std::min(m_limit, m_matched);

    // The groups that have rows on show, each with the entries that do.
    QList<HistorySearch::Group> shown;
    int left = m_shown;
    QStringList cardKeys;
    for (const HistorySearch::Group& group : groups) {
        if (left == 0)
            break;
        const int take = std::min(left, int(group.entries.size()));
        shown.append({group.day, group.entries.first(take)});
        cardKeys << dayPrefix + group.day.toString(Qt::ISODate);
        left -= take;
    }
    m_cards->apply(
        cardKeys,
        [this](const QString& key) {
            auto* card = new Card(10);
            card->content()->setSpacing(4);
            auto* title = new KitLabel({}, TextRole::CalloutStrong, Scheme::Text::Secondary);
            title->setContentsMargins(12, 0, 12, 2);
            card->content()->addWidget(title);
            m_days.insert_or_assign(key,
                                    DayCard{card, title, std::make_unique<KeyedRows>(*card->content(), 1)});
            return card;
        },
        {}, leave);
    for (auto it = m_days.begin(); it != m_days.end();) {
        if (cardKeys.contains(it->first))
            ++it;
        else
            it = m_days.erase(it);
    }

    const QDateTime now = m_state.clock().now();
    for (qsizetype i = 0; i < shown.size(); ++i) {
        DayCard& day = m_days.at(cardKeys.at(i));
        day.title->setText(Fmt::day(shown.at(i).day.startOfDay(), now));
        QHash<QString, int> places;
        const QStringList keys = HistorySearch::rowKeys(history, shown.at(i).entries, places);
        day.rows->apply(
            keys,
            [&](const QString& key) {
                ++m_rowsMade;
                return new HistoryRow(m_state, history.at(places.value(key)), HistoryRow::Mode::Full);
            },
            [&](QWidget* row, const QString& key) {
                const HistoryEntry& entry = history.at(places.value(key));
                auto* kept = static_cast<HistoryRow*>(row);
                if (!(kept->entry() == entry))
                    kept->setEntry(entry);
            },
            leave);
    }
}

void HistoryPage::showMore()
{
    if (!hasMore())
        return;
    m_limit = m_shown + chunk;
    refresh();
}

QList<HistoryRow*> HistoryPage::rows() const
{
    QList<HistoryRow*> found;
    for (int i = 0; i < m_page->content()->count(); ++i) {
        QWidget* card = m_page->content()->itemAt(i)->widget();
        if (!card)
            continue;
        QLayout* column = card->layout();
        for (int j = 0; column && j < column->count(); ++j) {
            if (auto* row = qobject_cast<HistoryRow*>(column->itemAt(j)->widget()))
                found << row;
        }
    }
    return found;
}

QStringList HistoryPage::dayTitles() const
{
    QStringList titles;
    for (int i = 0; i < m_page->content()->count(); ++i) {
        QWidget* card = m_page->content()->itemAt(i)->widget();
        for (auto it = m_days.begin(); card && it != m_days.end(); ++it) {
            if (it->second.card == card)
                titles << it->second.title->text();
        }
    }
    return titles;
}

bool HistoryPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field->editor() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier &&
            !m_field->text().isEmpty()) {
            m_field->setText(QString());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
