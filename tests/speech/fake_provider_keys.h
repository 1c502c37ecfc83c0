#pragma once

#include "speech/provider_keys.h"

#include <QHash>

// Keys by endpoint kind; everything else has none.
class FakeProviderKeys final : public ProviderKeys {
public:
    QString general;
    QHash<QString, QString> byKind;
    QString speech;

    QString generalKey() const override { return general; }
    QString key(const CorrectionEndpoint& endpoint) const override { return byKind.value(endpoint.kind); }
    QString speechKey() const override { return speech; }
};
