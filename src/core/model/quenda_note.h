#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <optional>

// A note of the own notes store, kept in "notes.json".
struct QuendaNote {
    QUuid id;
    QDateTime created;
    QDateTime updated;
    QString title; // as typed; may be empty
    QString body;

    // The trimmed title, or the body's derived title when that is empty.
    QString listTitle() const;
    // The first non-empty line, trimmed, cut to 80 grapheme clusters plus "…".
    static QString derivedTitle(const QString& text);

    // Null when a date is not valid: such a note could never be read back.
    std::optional<QJsonObject> toJson() const;
    // All five keys are required.
    static std::optional<QuendaNote> fromJson(const QJsonObject& object);

    friend bool operator==(const QuendaNote&, const QuendaNote&) = default;
};
