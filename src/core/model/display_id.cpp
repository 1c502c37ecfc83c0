#include "core/model/display_id.h"

namespace {

constexpr quint32 fnvOffset = 2166136261u;
constexpr quint32 fnvPrime = 16777619u;

quint32 mix(quint32 hash, const QByteArray& bytes)
{
    for (const char c : bytes) {
        hash ^= quint8(c);
        hash *= fnvPrime;
    }
    return hash;
}

} // namespace

quint32 DisplayId::of(const QString& name, const QString& serialNumber)
{
    quint32 hash = mix(fnvOffset, name.toUtf8());
    if (!serialNumber.isEmpty())
        hash = mix(mix(hash, QByteArrayLiteral("\x1f")), serialNumber.toUtf8());
    return hash;
}
