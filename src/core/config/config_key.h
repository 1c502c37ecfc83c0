#pragma once

#include "core/base/json_fields.h"

#include <QJsonValue>
#include <QLatin1String>

#include <span>

struct QuendaConfig;

// One stored key of "config.json": its name, the JSON type the decoder demands of a present value,
// and how its field is written and read. The table of all of them is the one list of stored keys;
// the engine keeps a copy of names and types, and a test holds the two together.
struct ConfigKey {
    QLatin1String name;
    JsonType type;
    // The stored value; undefined leaves the key out of the file.
    QJsonValue (*encode)(const QuendaConfig& config);
    // Sets the field from the key's value: undefined when the key is missing or null, else of the
    // key's type. Rows run in table order on a record that starts as the defaults, so a field decoded
    // from others sees theirs already read. The older keys, read only when the newer one gives no
    // answer, come from `older`, which also marks a failed record.
    void (*decode)(QuendaConfig& config, const QJsonValue& value, JsonFields& older);

    static std::span<const ConfigKey> all();
};
