#pragma once

#include "core/base/word_count.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// One dictation, or one clipboard text that an insertion displaced, in the history.
struct HistoryEntry {
    QUuid id;
    QDateTime date;
    QString raw;
    QString text;
    std::optional<double> duration;
    std::optional<QString> app;
    std::optional<bool> wasCommand;
    std::optional<QString> kind; // "clipboard" for captured clipboard text
    // Why the speech server gave no transcript, when the built-in recogniser wrote the text instead.
    // Initialised so that the many records made field by field may leave it out.
    std::optional<QString> serverFailure = std::nullopt;

    static inline const QString clipboardKind = QStringLiteral("clipboard");

    bool isDictation() const { return kind != clipboardKind; }
    int words() const { return wordCount(text); }

    // A hand-edited file may repeat an id; each repeat gets a fresh one, so removing one entry
    // never removes another.
    static QList<HistoryEntry> withUniqueIds(QList<HistoryEntry> entries);

    // Dates are written as ISO-8601 UTC text with whole seconds.
    QJsonObject toJson() const;
    static std::optional<HistoryEntry> fromJson(const QJsonObject& object);

    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};
