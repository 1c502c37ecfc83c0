#pragma once

#include "core/base/json_fields.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QLatin1String>

#include <span>

struct QuendaConfig;

// One stored key of "config.json": its name, the JSON type the decoder demands of a present value,
// and the value the encoder writes. The table of all of them is the one list of stored keys; the
// engine keeps a copy of names and types, and a test holds the two together.
struct ConfigKey {
    QLatin1String name;
    JsonType type;
    // The stored value; undefined leaves the key out of the file.
    QJsonValue (*value)(const QuendaConfig& config);

    static std::span<const ConfigKey> all();
    // Whether every stored key present in the object has its type; null counts as absent. The
    // older keys the decoder falls back on are not stored keys and are checked where they are read.
    static bool typesMatch(const QJsonObject& object);
};
