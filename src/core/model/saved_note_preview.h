#pragma once

#include <QString>
#include <QUuid>

#include <optional>
#include <variant>

// What the overlay's saved-note card shows, and where it can open the note.
struct SavedNotePreview {
    // The own note with this id.
    struct QuendaPlace {
        QUuid id;
        friend bool operator==(const QuendaPlace&, const QuendaPlace&) = default;
    };
    // A note in the Notes application; its id when Notes reported one.
    struct ApplePlace {
        QString account;
        QString folder;
        std::optional<QString> noteID;
        friend bool operator==(const ApplePlace&, const ApplePlace&) = default;
    };
    using Place = std::variant<QuendaPlace, ApplePlace>;

    QString body;
    Place place;

    friend bool operator==(const SavedNotePreview&, const SavedNotePreview&) = default;
};
