#include "core/storage/note_store.h"

#include "core/base/timing.h"
#include "core/storage/json_list_store.h"

namespace {

using Store = JsonListStore<QuendaNote>;

Store store()
{
    return Store(QStringLiteral("notes.json"));
}

} // namespace

std::optional<QByteArray> NoteStore::encode(const QList<QuendaNote>& notes)
{
    // QJsonObject keeps its keys sorted, which is the file's documented order.
    return Store::encode(notes);
}

std::optional<QList<QuendaNote>> NoteStore::decode(const QByteArray& bytes)
{
    return Store::decode(bytes);
}

QList<QuendaNote> NoteStore::load()
{
    return store().load();
}

bool NoteStore::save(const QList<QuendaNote>& notes)
{
    const Store::Saved saved = store().save(notes);
    if (saved.ok())
        return true;
    if (saved.error() == Store::SaveFailure::Encode)
        Timing::mark(QStringLiteral("note file encode failed"));
    else if (saved.error() == Store::SaveFailure::Write)
        Timing::mark(QStringLiteral("note file write failed"));
    return false;
}
