#include "note_store.h"

#include "json_file.h"
#include "run_mode.h"
#include "support_paths.h"
#include "timing.h"

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
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    const QJsonArray array = doc.array();
    QList<QuendaNote> notes;
    notes.reserve(array.size());
    for (const auto& value : array) {
        if (!value.isObject())
            return std::nullopt;
        auto note = QuendaNote::fromJson(value.toObject());
        if (!note)
            return std::nullopt;
        notes.append(std::move(*note));
    }
    return notes;
}

QList<QuendaNote> NoteStore::load()
{
    if (RunMode::isSnapshot())
        return {};
    const QString path = notesPath();
    const auto file = JsonFile::read(path);
    if (file.status == JsonFile::ReadStatus::Missing)
        return {};
    if (file.status == JsonFile::ReadStatus::Ok) {
        if (auto notes = decode(file.bytes))
            return *notes;
    }
    JsonFile::markUndecodable(path);
    return {};
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
