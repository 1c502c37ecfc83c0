#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <optional>

class AppState;
struct QuendaNote;

// What the notes page has open: the selected note, its title and body as the editor shows them,
// and the search text. It follows the notes list and requests to open a note; every edit goes
// straight to the state, so there is nothing to save. A note left with neither title nor text
// is not kept: it would stand in the list as one more "Untitled".
class NoteSelection final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoteSelection)

public:
    explicit NoteSelection(AppState& state, QObject* parent = nullptr);

    const std::optional<QUuid>& selectedID() const { return m_selected; }
    const QString& draftTitle() const { return m_title; }
    const QString& draftBody() const { return m_body; }
    const QString& query() const { return m_query; }
    void setQuery(const QString& query);
    // The notes whose title or body holds the trimmed query, ignoring case; all for a blank query.
    QList<const QuendaNote*> filtered() const;
    static bool matches(const QuendaNote& note, const QString& foldedQuery);

    // Opens the note in the drafts. An id no longer listed opens the first note, or none.
    void select(const std::optional<QUuid>& id);
    // An edit of the user; dropped when nothing is selected.
    void commit(const QString& title, const QString& body);
    void create();
    // Moves to the first other note, or none.
    void deleteSelected();
    // The page is shown: the requested note, else the first one when nothing is open yet.
    void appear();
    // The page goes: the open note is left, and the file holds every edit. Nothing is followed after.
    void leave();

signals:
    // The drafts were replaced by another note's texts (or emptied).
    void selected();
    void queryChanged();

private:
    void followRequest();
    void followIds();
    // Drops the note when it is still in the list with a blank title and body.
    void dropIfBlank(const QUuid& id);

    AppState& m_state;
    std::optional<QUuid> m_selected;
    QString m_title;
    QString m_body;
    QString m_query;
    QList<QUuid> m_ids;
};
