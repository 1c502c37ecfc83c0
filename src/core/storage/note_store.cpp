#include "core/storage/note_store.h"

#include "core/base/json_file.h"
#include "core/base/run_mode.h"
#include "core/base/support_paths.h"
#include "core/base/timing.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
QString notesPath()
{
    return SupportPaths::file(QStringLiteral("notes.json"));
}
} // namespace

std::optional<QByteArray> NoteStore::encode(const QList<QuendaNote>& notes)
{
    QJsonArray array;
    for (const auto& note : notes) {
        auto object = note.toJson();
        if (!object)
            return std::nullopt;
        array.append(*object);
    }
    // QJsonObject keeps its keys sorted, which is the file's documented order.
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

std::optional<QList<QuendaNote>> NoteStore::decode(const QByteArray& bytes)
{
    return JsonFile::decodeArrayDocument<QuendaNote>(bytes, &QuendaNote::fromJson);
}

QList<QuendaNote> NoteStore::load()
{
    if (RunMode::isSnapshot())
        return {};
    return JsonFile::load(notesPath(), &NoteStore::decode).value_or(QList<QuendaNote>());
}

bool NoteStore::save(const QList<QuendaNote>& notes)
{
    if (RunMode::isSnapshot())
        return false;
    const auto bytes = encode(notes);
    if (!bytes) {
        Timing::mark(QStringLiteral("note file encode failed"));
        return false;
    }
    if (!JsonFile::writeAtomically(notesPath(), *bytes)) {
        Timing::mark(QStringLiteral("note file write failed"));
        return false;
    }
    return true;
}
