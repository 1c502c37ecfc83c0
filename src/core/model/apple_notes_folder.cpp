#include "core/model/apple_notes_folder.h"

std::optional<AppleNotesFolder> AppleNotesFolder::decode(const QString& stored)
{
    const qsizetype at = stored.indexOf(separator);
    if (at <= 0 || at == stored.size() - 1)
        return std::nullopt;
    return AppleNotesFolder{stored.first(at), stored.sliced(at + 1)};
}
