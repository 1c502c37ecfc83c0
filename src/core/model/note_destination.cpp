#include "core/model/note_destination.h"

namespace {

QString ownText()
{
    return QStringLiteral("quenda");
}

} // namespace

std::optional<NoteDestination> NoteDestination::decode(const QString& stored)
{
    if (stored == ownText())
        return own();
    if (auto folder = AppleNotesFolder::decode(stored))
        return NoteDestination{std::move(folder)};
    return std::nullopt;
}

QString NoteDestination::text() const
{
    return folder ? folder->id() : ownText();
}
