#pragma once

#include <QList>
#include <QUuid>
#include <QWidget>

#include <memory>
#include <optional>

class AppState;
class Card;
class KitLabel;
class NoteDestinationPicker;
class NoteListModel;
class NoteSelection;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QVBoxLayout;
class SearchField;
class SoftButton;
struct QuendaNote;

// The main window's page of the own notes: the destination picker, then either a hint that there
// are none or a searchable list beside an editor of the open note. Every keystroke is saved; a
// change of the list from elsewhere leaves the editor and its caret alone.
class NotesPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotesPage)

public:
    explicit NotesPage(AppState& state, QWidget* parent = nullptr);
    ~NotesPage() override;

    NoteSelection& selection() const { return *m_selection; }
    NoteDestinationPicker* picker() const { return m_picker; }
    SearchField* search() const { return m_search; }
    QLineEdit* titleEditor() const { return m_title; }
    QPlainTextEdit* bodyEditor() const { return m_body; }
    SoftButton* newButton() const { return m_new; }
    SoftButton* copyButton() const { return m_copy; }
    SoftButton* deleteButton() const { return m_delete; }
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
    void followNotes();
    void followQuery();
    void loadDrafts();
    void step(int by, bool focusRow);

    AppState& m_state;
    std::unique_ptr<NoteSelection> m_selection;
    SoftButton* m_new;
    NoteDestinationPicker* m_picker = nullptr;
    KitLabel* m_unsaved = nullptr;
    Card* m_emptyCard = nullptr;
    Card* m_editorCard = nullptr;
    SearchField* m_search = nullptr;
    KitLabel* m_noResults = nullptr;
    NoteListModel* m_rows = nullptr;
    QListView* m_list = nullptr;
    QWidget* m_editorColumn = nullptr;
    QLineEdit* m_title = nullptr;
    QPlainTextEdit* m_body = nullptr;
    SoftButton* m_copy = nullptr;
    SoftButton* m_delete = nullptr;
    bool m_loading = false;
};
