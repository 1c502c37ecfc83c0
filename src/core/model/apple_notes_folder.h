#pragma once

#include <QHashFunctions>
#include <QString>

#include <optional>

// A folder of the Notes application, stored as account, U+001E, folder name.
struct AppleNotesFolder {
    QString account;
    QString name;

    static constexpr QChar separator = QChar(0x1E);

    QString id() const { return account + separator + name; }

    // Splits at the first separator only; both parts must be non-empty.
    static std::optional<AppleNotesFolder> decode(const QString& stored);

    friend bool operator==(const AppleNotesFolder&, const AppleNotesFolder&) = default;
};

inline size_t qHash(const AppleNotesFolder& f, size_t seed = 0) noexcept
{
    return qHashMulti(seed, f.account, f.name);
}
