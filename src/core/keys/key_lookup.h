#pragma once

#include "core/base/result.h"

#include <QString>

#include <optional>

// Why a key lookup has no answer: some read went unanswered (the Secret Service is locked, gone or
// refused), so a key may exist that could not be seen.
enum class KeyStoreError { SecretServiceFailed };

// A key found, none stored (an empty optional), or a Secret Service that did not answer.
using KeyLookup = Result<std::optional<QString>, KeyStoreError>;

// The three answers, spelled out where the optional inside would make them ambiguous.
namespace KeyLookups {

inline KeyLookup found(const QString& key)
{
    return KeyLookup(std::optional<QString>(key));
}

inline KeyLookup absent()
{
    return KeyLookup(std::optional<QString>());
}

inline KeyLookup failed()
{
    return KeyLookup(KeyStoreError::SecretServiceFailed);
}

// The key, or "" for none and for a failed read alike: for display only, never to decide anything.
inline QString shown(const KeyLookup& lookup)
{
    return lookup.ok() ? lookup.value().value_or(QString()) : QString();
}

} // namespace KeyLookups
