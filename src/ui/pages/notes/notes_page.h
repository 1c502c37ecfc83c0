#pragma once

#include <QList>
#include <QUuid>
#include <QWidget>

#include <memory>
#include <optional>

class AppState;
class Card;
class KitLabel;
class LabelButton;
class NoteDestinationPicker;
class NoteListModel;
class NoteSelection;
class NoteTitleField;
class Page;
class QListView;
class QPlainTextEdit;
class QVBoxLayout;
class SearchField;
struct QuendaNote;

// The main window's page of the own notes: the destination picker, then either a hint that there
// are none or a searchable list beside an editor of the open note. Every keystroke is saved; a
// change of the list from elsewhere leaves the editor and its caret alone. The list and editor
// are at most 520 tall and shorter in a low window, so the editor's buttons stay in sight.
class NotesPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotesPage)

public:
    static constexpr int blockHeight = 520;
    static constexpr int smallestBlockHeight = 300;

    explicit NotesPage(AppState& state, QWidget* parent = nullptr);
    ~NotesPage() override;

    NoteSelection& selection() const { return *m_selection; }
    NoteDestinationPicker* picker() const { return m_picker; }
    SearchField* search() const { return m_search; }
    NoteTitleField* titleEditor() const { return m_title; }
    QPlainTextEdit* bodyEditor() const { return m_body; }
    LabelButton* newButton() const { return m_new; }
    LabelButton* copyButton() const { return m_copy; }
    LabelButton* deleteButton() const { return m_delete; }
    KitLabel* unsavedLine() const { return m_unsaved; }
    KitLabel* noResults() const { return m_noResults; }
    QWidget* emptyHint() const;
    QWidget* editorBlock() const;
    QListView* list() const { return m_list; }
    NoteListModel& rows() const { return *m_rows; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeList();
    QWidget* makeEditor();
    void create();
    void fitBlock();
    void followNotes();
    void followQuery();
    void loadDrafts();
    void step(int by, bool focusRow);

    AppState& m_state;
    std::unique_ptr<NoteSelection> m_selection;
    LabelButton* m_new;
    Page* m_page;
    NoteDestinationPicker* m_picker = nullptr;
    KitLabel* m_unsaved = nullptr;
    Card* m_emptyCard = nullptr;
    Card* m_editorCard = nullptr;
    QWidget* m_block = nullptr;
    SearchField* m_search = nullptr;
    KitLabel* m_noResults = nullptr;
    NoteListModel* m_rows = nullptr;
    QListView* m_list = nullptr;
    QWidget* m_editorColumn = nullptr;
    NoteTitleField* m_title = nullptr;
    QPlainTextEdit* m_body = nullptr;
    LabelButton* m_copy = nullptr;
    LabelButton* m_delete = nullptr;
    bool m_loading = false;
};
