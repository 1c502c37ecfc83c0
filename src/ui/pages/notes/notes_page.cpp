#include "ui/pages/notes/notes_page.h"

#include "core/state/app_state.h"
#include "core/text/fmt.h"
#include "core/text/l10n.h"
#include "ui/kit/card.h"
#include "ui/kit/clipboard_text.h"
#include "ui/kit/empty_hint.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/page.h"
#include "ui/kit/scheme.h"
#include "ui/kit/search_field.h"
#include "ui/kit/soft_button.h"
#include "ui/kit/text_field.h"
#include "ui/pages/notes/note_destination_picker.h"
#include "ui/pages/notes/note_list_model.h"
#include "ui/pages/notes/note_row_delegate.h"
#include "ui/pages/notes/note_selection.h"
#include "ui/pages/notes/note_title_field.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Text fields without a frame or fill of their own: the card behind them shows through.
void plain(QWidget& field)
{
    QPalette clear = field.palette();
    clear.setColor(QPalette::Base, Qt::transparent);
    field.setPalette(clear);
}

// The line between the list and the editor, in the text colour made faint: a palette's own
// mid colour can equal the card's fill in a dark scheme.
class ColumnDivider final : public QWidget {
public:
    ColumnDivider() { setFixedWidth(1); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), Scheme::primary(palette(), 0.12));
    }
};

} // namespace

NotesPage::NotesPage(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_selection(std::make_unique<NoteSelection>(state))
    , m_new(new SoftButton(L10n::s("notes.new"), nullptr, Symbol::Plus))
    , m_page(new Page(L10n::s("notes.title"), L10n::s("notes.subtitle"), this))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    Page* page = m_page;
    fill->addWidget(page);
    page->setAccessory(m_new);

    auto* pickerCard = new Card(14);
    m_picker = new NoteDestinationPicker(state);
    pickerCard->content()->addWidget(m_picker);
    page->content()->addWidget(pickerCard);

    m_unsaved = (new KitLabel(L10n::s("notes.unsaved"), TextRole::BodyMedium, Scheme::orange))->wrapping();
    page->content()->addWidget(m_unsaved);

    m_emptyCard = new Card(20);
    m_emptyCard->content()->addWidget(
        new EmptyHint(Symbol::Note, L10n::s("notes.emptyTitle"), L10n::s("notes.emptyBody")));
    page->content()->addWidget(m_emptyCard);

    m_editorCard = new Card(0);
    m_block = new QWidget;
    m_block->setFixedHeight(blockHeight);
    auto* columns = new QHBoxLayout(m_block);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addWidget(makeList());
    columns->addWidget(new ColumnDivider);
    columns->addWidget(makeEditor(), 1);
    m_editorCard->content()->addWidget(m_block);
    page->content()->addWidget(m_editorCard);
    // The room below the block's top changes with the window and with what stands above it.
    page->viewport()->installEventFilter(this);
    m_editorCard->installEventFilter(this);

    connect(m_new, &SoftButton::clicked, this, &NotesPage::create);
    connect(m_selection.get(), &NoteSelection::selected, this, &NotesPage::loadDrafts);
    connect(m_selection.get(), &NoteSelection::queryChanged, this, &NotesPage::followQuery);
    connect(&m_state, &AppState::notesChanged, this, &NotesPage::followNotes);
    followNotes();
    loadDrafts();
}

NotesPage::~NotesPage()
{
    disconnect(&m_state, nullptr, this, nullptr);
    m_selection->leave();
}

QWidget* NotesPage::emptyHint() const
{
    return m_emptyCard;
}

QWidget* NotesPage::editorBlock() const
{
    return m_editorCard;
}

QWidget* NotesPage::makeList()
{
    auto* list = new QWidget;
    list->setFixedWidth(260);
    auto* column = new QVBoxLayout(list);
    column->setContentsMargins(0, 12, 0, 0);
    column->setSpacing(8);
    m_search = new SearchField(L10n::s("notes.search"));
    column->addWidget(m_search, 0, Qt::AlignHCenter);
    m_search->editor()->installEventFilter(this);
    connect(m_search, &SearchField::textChanged, m_selection.get(), &NoteSelection::setQuery);

    m_noResults = new KitLabel(L10n::s("notes.noResults"), TextRole::Callout, Scheme::Text::Secondary);
    m_noResults->setContentsMargins(20, 8, 20, 8);
    column->addWidget(m_noResults);

    m_rows = new NoteListModel([this] { return m_state.clock().now(); }, this);
    m_list = new QListView;
    m_list->setModel(m_rows);
    m_list->setItemDelegate(new NoteRowDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setMouseTracking(true);
    m_list->setContentsMargins(0, 0, 0, 0);
    m_list->setAccessibleName(L10n::s("notes.title"));
    m_list->viewport()->setAutoFillBackground(false);
    m_list->viewport()->setCursor(Qt::PointingHandCursor);
    m_list->installEventFilter(this);
    connect(m_list, &QListView::clicked, this,
            [this](const QModelIndex& index) { m_selection->select(m_rows->idAt(index.row())); });
    auto* inset = new QVBoxLayout;
    inset->setContentsMargins(8, 0, 8, 8);
    inset->addWidget(m_list);
    column->addLayout(inset, 1);
    return list;
}

QWidget* NotesPage::makeEditor()
{
    m_editorColumn = new QWidget;
    auto* column = new QVBoxLayout(m_editorColumn);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(10);

    m_title = new NoteTitleField;
    // Without a fill: the title stands above the note's text as its first line.
    auto* title = new TextField(m_title, TextRole::DocumentTitle, TextField::Look::Plain);
    m_title->setPlaceholderText(L10n::s("notes.titlePlaceholder"));
    title->setName(L10n::s("notes.titlePlaceholder"));
    column->addWidget(title);

    m_body = new QPlainTextEdit;
    m_body->setFrameShape(QFrame::NoFrame);
    m_body->setPlaceholderText(L10n::s("notes.bodyPlaceholder"));
    m_body->setAccessibleName(L10n::s("notes.bodyPlaceholder"));
    m_body->setFont(KitFont::of(TextRole::Lead));
    m_body->viewport()->setAutoFillBackground(false);
    plain(*m_body);
    column->addWidget(m_body, 1);
    // The title's first letter stands above the body's.
    m_title->setTextMargins(int(m_body->document()->documentMargin()) - NoteTitleField::textInset, 0, 0, 0);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(8);
    m_copy = new SoftButton(L10n::s("notes.copy"));
    m_delete = new SoftButton(L10n::s("notes.delete"), nullptr, Symbol::Trash);
    m_delete->setForeground(Scheme::red(palette()));
    actions->addWidget(m_copy);
    actions->addStretch(1);
    actions->addWidget(m_delete);
    column->addLayout(actions);

    connect(m_title, &QLineEdit::textEdited, this,
            [this](const QString& title) { m_selection->commit(title, m_body->toPlainText()); });
    connect(m_body, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            m_selection->commit(m_title->text(), m_body->toPlainText());
    });
    connect(m_copy, &SoftButton::clicked, this, [this] { ClipboardText::copy(m_body->toPlainText()); });
    connect(m_delete, &SoftButton::clicked, m_selection.get(), &NoteSelection::deleteSelected);
    return m_editorColumn;
}

void NotesPage::create()
{
    m_selection->create();
    // Typing goes on in the new note; a Space would otherwise press the button again.
    m_title->setFocus(Qt::OtherFocusReason);
}

void NotesPage::fitBlock()
{
    const int top = m_editorCard->mapTo(m_page->widget(), QPoint(0, 0)).y();
    const int room = m_page->viewport()->height() - top - Page::padding.bottom();
    m_block->setFixedHeight(std::clamp(room, smallestBlockHeight, blockHeight));
}

void NotesPage::followNotes()
{
    const bool empty = m_state.notes().isEmpty();
    m_emptyCard->setVisible(empty);
    m_editorCard->setVisible(!empty);
    m_unsaved->setVisible(m_state.notesUnsaved());
    followQuery();
}

void NotesPage::followQuery()
{
    if (m_search->text() != m_selection->query())
        m_search->setText(m_selection->query());
    QList<QuendaNote> shown;
    for (const QuendaNote* note : m_selection->filtered())
        shown.append(*note);
    m_rows->setNotes(shown);
    m_noResults->setVisible(shown.isEmpty());
}

void NotesPage::loadDrafts()
{
    const std::optional<QUuid>& id = m_selection->selectedID();
    m_rows->setSelected(id);
    for (QWidget* part : {static_cast<QWidget*>(m_title), static_cast<QWidget*>(m_body),
                          static_cast<QWidget*>(m_copy), static_cast<QWidget*>(m_delete)})
        part->setVisible(id.has_value());
    m_loading = true;
    m_title->setText(m_selection->draftTitle());
    m_title->setCursorPosition(0); // a long title shows its start
    m_body->setPlainText(m_selection->draftBody());
    m_loading = false;
}

void NotesPage::step(int by, bool focusRow)
{
    const QList<const QuendaNote*> shown = m_selection->filtered();
    if (shown.isEmpty())
        return;
    qsizetype at = -1;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown.at(i)->id == m_selection->selectedID())
            at = i;
    }
    const qsizetype next = at < 0 ? 0 : std::clamp<qsizetype>(at + by, 0, shown.size() - 1);
    if (next == at)
        return;
    const QUuid id = shown.at(next)->id;
    m_selection->select(id);
    if (focusRow)
        m_list->setFocus(Qt::OtherFocusReason);
    if (const int shownRow = m_rows->rowOf(id); shownRow >= 0)
        m_list->scrollTo(m_rows->index(shownRow));
}

bool NotesPage::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_page->viewport() && event->type() == QEvent::Resize) ||
        (watched == m_editorCard && event->type() == QEvent::Move))
        fitBlock();
    if ((watched == m_search->editor() || watched == m_list) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? -1 : 1, watched == m_list);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void NotesPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        m_selection->appear();
}
