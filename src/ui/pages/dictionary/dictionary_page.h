#pragma once

#include "core/base/clock.h"
#include "core/model/dictionary_lines.h"
#include "ui/kit/symbol.h"
#include "ui/pages/dictionary/dictionary_search.h"

#include <QHash>
#include <QWidget>

#include <memory>
#include <optional>

class AppState;
class Card;
class DictionaryRow;
class EntryEditor;
class KeyedRows;
class KitLabel;
class Page;
class PrimaryButton;
class SearchField;
class SettingsBinder;
class SoftButton;
class ToggleSwitch;

// The dictionary page: the "learn from my edits" switch, a form that adds an entry, and the
// entries of the configuration's dictionary in line order, searchable over term and heard form.
// Every change rewrites only the lines it touches and goes to the state's configuration in one
// write. A removal can be undone for a moment. Rows are made a chunk at a time, as on the
// history page, so a long dictionary opens as fast as a short one.
class DictionaryPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DictionaryPage)

public:
    static constexpr int chunk = 20;
    static constexpr int undoMs = 6000;

    explicit DictionaryPage(AppState& state, QWidget* parent = nullptr);
    ~DictionaryPage() override;

    Page* page() const { return m_page; }
    SearchField* searchField() const { return m_field; }
    ToggleSwitch* learnSwitch() const { return m_learn; }
    EntryEditor* addEditor() const { return m_add; }
    PrimaryButton* addButton() const { return m_addButton; }
    // Shown while a removal can be undone.
    Card* undoBar() const { return m_undoBar; }
    SoftButton* undoButton() const { return m_undoButton; }
    // The hint's title while the list shows one (no entries, or none that match), else empty.
    QString hintTitle() const;

    // The rows on show, in order.
    QList<DictionaryRow*> rows() const;
    int rowsMade() const { return m_rowsMade; }
    bool hasMore() const { return m_shown < m_matched; }
    // Makes the next chunk of rows; scrolling near the end does it too.
    void showMore();

private:
    struct Removal {
        QString before; // the dictionary text before the removal
        QString after;  // and right after it
        DictionaryLines::Entry entry;
    };

    QWidget* makeLearnCard();
    QWidget* makeAddCard();
    QWidget* makeUndoBar();
    void follow();
    void refresh();
    void showHint(const QString& key, Symbol icon, const QString& title, const QString& body);
    void add();
    void save(const QString& key, const DictionaryItem& item);
    void remove(const QString& key);
    void undo();
    void dropUndo();
    void write(const QString& dictionary);

    AppState& m_state;
    SettingsBinder* m_binder;
    QString m_text; // the dictionary the rows show
    DictionaryLines m_lines{QString()};
    QStringList m_keys;           // per entry: heard form and term, numbered where they repeat
    QHash<QString, int> m_places; // key to entry
    DictionarySearch m_search;
    QString m_query;
    int m_limit = chunk;
    int m_shown = 0;
    int m_matched = 0;
    int m_rowsMade = 0;
    Page* m_page;
    SearchField* m_field;
    ToggleSwitch* m_learn = nullptr;
    EntryEditor* m_add = nullptr;
    PrimaryButton* m_addButton = nullptr;
    Card* m_undoBar = nullptr;
    KitLabel* m_undoText = nullptr;
    SoftButton* m_undoButton = nullptr;
    Card* m_hint;
    QString m_hintKey;
    QString m_hintTitle;
    Card* m_list;
    std::unique_ptr<KeyedRows> m_rows;
    std::optional<Removal> m_removal;
    Clock::Timer m_undoTimer;
};
