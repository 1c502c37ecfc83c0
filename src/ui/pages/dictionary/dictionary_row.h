#pragma once

#include "core/model/dictionary_lines.h"

#include <QWidget>

class EntryEditor;
class IconButton;
class KitLabel;
class LabelButton;
class QHBoxLayout;

// One dictionary entry: the term, "heard as" where it has a heard form, a mark while the learner's
// entry is untouched, and buttons to edit and remove it. Editing swaps the texts for the two
// fields in place; the page decides what a save or a removal writes.
class DictionaryRow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DictionaryRow)

public:
    explicit DictionaryRow(const DictionaryLines::Entry& entry, QWidget* parent = nullptr);

    const DictionaryLines::Entry& entry() const { return m_entry; }
    // The same entry read anew, for a row the page keeps.
    void setEntry(const DictionaryLines::Entry& entry);
    bool learnedShown() const;
    QString heardText() const;

    void startEditing();
    void stopEditing();
    bool editing() const;

    IconButton* editButton() const { return m_edit; }
    IconButton* removeButton() const { return m_remove; }
    // Present once editing has started.
    EntryEditor* editor() const { return m_editor; }
    LabelButton* saveButton() const { return m_save; }

signals:
    // The fields made an acceptable entry.
    void saveRequested(const DictionaryItem& item);
    void removeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void save();

    DictionaryLines::Entry m_entry;
    QWidget* m_view;
    KitLabel* m_term;
    KitLabel* m_heard;
    QHBoxLayout* m_title;
    QWidget* m_learned = nullptr;
    IconButton* m_edit;
    IconButton* m_remove;
    EntryEditor* m_editor = nullptr;
    LabelButton* m_save = nullptr;
};
