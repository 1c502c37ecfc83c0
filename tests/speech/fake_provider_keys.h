#pragma once

#include "provider_keys.h"

#include <QHash>

// Keys by endpoint id first, then by kind; everything else has none.
class FakeProviderKeys final : public ProviderKeys {
public:
    QString general;
    QHash<QString, QString> byKind;
    QHash<QUuid, QString> byId;

    QString generalKey() const override { return general; }
    QString key(const CorrectionEndpoint& endpoint) const override
    {
        return byId.value(endpoint.id, byKind.value(endpoint.kind));
    }
};
