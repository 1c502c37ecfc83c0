#include "ui/pages/dictionary/dictionary_page.h"

#include "core/model/main_section.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/card.h"
#include "ui/kit/empty_hint.h"
#include "ui/kit/keyed_rows.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/page.h"
#include "ui/kit/primary_button.h"
#include "ui/kit/scheme.h"
#include "ui/kit/search_field.h"
#include "ui/kit/soft_button.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/dictionary/dictionary_row.h"
#include "ui/pages/dictionary/entry_editor.h"

#include <QHBoxLayout>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// Line breaks cannot be part of an entry, so no two entries share a key by accident.
QString keyOf(const DictionaryItem& item)
{
    return item.heardAs + u'\n' + item.term;
}

} // namespace

DictionaryPage::DictionaryPage(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_binder(new SettingsBinder(state, this))
    , m_page(new Page(MainSectionText::title(MainSection::Dictionary), L10n::s("dictionary.subtitle"), this))
    , m_field(new SearchField(L10n::s("dictionary.search")))
    , m_hint(new Card(20))
    , m_list(new Card(10))
    , m_rows(std::make_unique<KeyedRows>(*m_list->content()))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(m_page);
    m_page->setAccessory(m_field);

    QVBoxLayout* content = m_page->content();
    content->addWidget(makeLearnCard());
    content->addWidget(makeAddCard());
    content->addWidget(makeUndoBar());
    content->addWidget(m_hint);
    m_list->content()->setSpacing(2);
    content->addWidget(m_list);

    connect(m_field, &SearchField::textChanged, this, [this](const QString& query) {
        m_query = query;
        m_limit = chunk;
        refresh();
    });
    connect(&m_state, &AppState::configChanged, this, &DictionaryPage::follow);
    connect(m_page, &Page::nearEnd, this, &DictionaryPage::showMore);
    follow();
    refresh();
}

DictionaryPage::~DictionaryPage() = default;

QWidget* DictionaryPage::makeLearnCard()
{
    auto* card = new Card(20);
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(new KitLabel(L10n::s("dictionary.learnEdits"), TextRole::Heading));
    texts->addWidget(
        (new KitLabel(L10n::s("dictionary.learnEditsBody"), TextRole::Callout, Scheme::Text::Secondary))
            ->wrapping());
    row->addLayout(texts, 1);
    m_learn = m_binder->toggle(&QuendaConfig::learnEdits, L10n::s("dictionary.learnEdits"));
    row->addWidget(m_learn, 0, Qt::AlignVCenter);
    card->content()->addLayout(row);
    return card;
}

QWidget* DictionaryPage::makeAddCard()
{
    auto* card = new Card(20);
    card->content()->setSpacing(10);
    card->content()->addWidget(new KitLabel(L10n::s("dictionary.add"), TextRole::Heading));
    m_add = new EntryEditor;
    m_addButton = new PrimaryButton(L10n::s("dictionary.addButton"), nullptr, Symbol::Plus);
    m_add->actions()->addWidget(m_addButton);
    card->content()->addWidget(m_add);
    connect(m_addButton, &PrimaryButton::clicked, this, &DictionaryPage::add);
    connect(m_add, &EntryEditor::submitted, this, &DictionaryPage::add);
    connect(m_add, &EntryEditor::cancelled, m_add, &EntryEditor::clear);
    return card;
}

QWidget* DictionaryPage::makeUndoBar()
{
    m_undoBar = new Card(12);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 0, 0);
    m_undoText = new KitLabel({}, TextRole::Body);
    m_undoText->setTextFormat(Qt::PlainText);
    m_undoButton = new SoftButton(L10n::s("dictionary.undo"));
    row->addWidget(m_undoText, 1);
    row->addWidget(m_undoButton);
    m_undoBar->content()->addLayout(row);
    m_undoBar->hide();
    connect(m_undoButton, &SoftButton::clicked, this, &DictionaryPage::undo);
    return m_undoBar;
}

void DictionaryPage::follow()
{
    const QString& text = m_state.config().dictionary;
    if (text == m_text)
        return;
    m_text = text;
    m_lines = DictionaryLines(text);
    m_keys.clear();
    m_places.clear();
    for (qsizetype i = 0; i < m_lines.entries().size(); ++i) {
        const QString base = keyOf(m_lines.entries().at(i).item);
        QString key = base;
        for (int n = 2; m_places.contains(key); ++n)
            key = base + u'#' + QString::number(n);
        m_places.insert(key, int(i));
        m_keys.append(key);
    }
    m_search.setEntries(m_lines.entries());
    refresh();
}

void DictionaryPage::refresh()
{
    if (m_lines.entries().isEmpty()) {
        showHint(QStringLiteral("empty"), Symbol::Book, L10n::s("dictionary.emptyTitle"),
                 L10n::s("dictionary.emptyBody"));
        m_shown = m_matched = 0;
        return;
    }
    const QList<int> matches = m_search.matches(m_query);
    if (matches.isEmpty()) {
        showHint(QStringLiteral("none:") + m_query, Symbol::Search, L10n::s("dictionary.noResults"),
                 L10n::format(QStringLiteral("dictionary.noResultsBody"), {m_query}));
        m_shown = m_matched = 0;
        return;
    }
    m_hint->hide();
    m_hintKey.clear();
    m_hintTitle.clear();
    m_matched = int(matches.size());
    m_shown = std::min(m_limit, m_matched);
    QStringList keys;
    keys.reserve(m_shown);
    for (int i = 0; i < m_shown; ++i)
        keys.append(m_keys.at(matches.at(i)));
    m_rows->apply(
        keys,
        [this](const QString& key) -> QWidget* {
            ++m_rowsMade;
            auto* row = new DictionaryRow(m_lines.entries().at(m_places.value(key)));
            connect(row, &DictionaryRow::saveRequested, this,
                    [this, key](const DictionaryItem& item) { save(key, item); });
            connect(row, &DictionaryRow::removeRequested, this, [this, key] { remove(key); });
            return row;
        },
        [this](QWidget* row, const QString& key) {
            const DictionaryLines::Entry& entry = m_lines.entries().at(m_places.value(key));
            auto* kept = static_cast<DictionaryRow*>(row);
            if (kept->entry().learned != entry.learned)
                kept->setEntry(entry);
        });
    m_list->show();
}

void DictionaryPage::showHint(const QString& key, Symbol icon, const QString& title, const QString& body)
{
    m_list->hide();
    m_hint->show();
    if (key == m_hintKey)
        return;
    m_hintKey = key;
    m_hintTitle = title;
    QLayoutItem* old = m_hint->content()->takeAt(0);
    if (old) {
        delete old->widget();
        delete old;
    }
    m_hint->content()->addWidget(new EmptyHint(icon, title, body));
}

QString DictionaryPage::hintTitle() const
{
    return m_hint->isVisibleTo(this) ? m_hintTitle : QString();
}

QList<DictionaryRow*> DictionaryPage::rows() const
{
    QList<DictionaryRow*> found;
    if (!m_list->isVisibleTo(this))
        return found;
    QLayout* column = m_list->content();
    for (int i = 0; i < column->count(); ++i) {
        if (auto* row = qobject_cast<DictionaryRow*>(column->itemAt(i)->widget()))
            found << row;
    }
    return found;
}

void DictionaryPage::showMore()
{
    if (!hasMore())
        return;
    m_limit = m_shown + chunk;
    refresh();
}

void DictionaryPage::add()
{
    const std::optional<DictionaryItem> item = m_add->take();
    if (!item)
        return;
    write(m_lines.added({*item}));
    m_add->clear();
}

void DictionaryPage::save(const QString& key, const DictionaryItem& item)
{
    const auto place = m_places.constFind(key);
    if (place == m_places.cend())
        return;
    write(m_lines.replaced(*place, item));
}

void DictionaryPage::remove(const QString& key)
{
    const auto place = m_places.constFind(key);
    if (place == m_places.cend())
        return;
    const DictionaryLines::Entry entry = m_lines.entries().at(*place);
    const QString before = m_text;
    write(m_lines.removed(*place));
    m_removal = Removal{before, m_state.config().dictionary, entry};
    m_undoText->setText(L10n::format(QStringLiteral("dictionary.removed"), {entry.item.term}));
    m_undoBar->show();
    m_undoTimer = m_state.clock().after(undoMs, this, [this] { dropUndo(); });
}

void DictionaryPage::undo()
{
    if (!m_removal)
        return;
    const Removal removal = *std::exchange(m_removal, std::nullopt);
    dropUndo();
    // Untouched since: the text as it was, to the character. Changed meanwhile (the learner
    // added an entry): the entry goes back where new entries go.
    const QString& now = m_state.config().dictionary;
    write(now == removal.after ? removal.before
                               : DictionaryLines(now).added({removal.entry.item}, removal.entry.learned));
}

void DictionaryPage::dropUndo()
{
    m_removal.reset();
    m_undoTimer.reset();
    m_undoBar->hide();
}

void DictionaryPage::write(const QString& dictionary)
{
    m_binder->write(&QuendaConfig::dictionary, dictionary);
}
