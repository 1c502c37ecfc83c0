#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

// One correction (polishing) provider the engine may call.
struct CorrectionEndpoint {
    QUuid id;
    QString kind; // "chatgpt", "claude", "cursor" or "custom"; not enforced when decoding
    QString model; // "auto" lets the engine choose
    QString baseURL; // used only by "custom"
    bool enabled = true;

    static const QStringList& knownKinds();
    // The provider's API host the OpenAI kind stands for; the config decoder compares against it.
    static QString openAIHost();

    // The API base URL this endpoint stands for, by kind.
    QString resolvedBaseURL() const;

    QJsonObject toJson() const;
    static std::optional<CorrectionEndpoint> fromJson(const QJsonObject& object);

    friend bool operator==(const CorrectionEndpoint&, const CorrectionEndpoint&) = default;
};

size_t qHash(const CorrectionEndpoint& endpoint, size_t seed = 0) noexcept;

// What one provider offers, as the engine's model lookup reports it.
struct CorrectionCatalog {
    QString recommended;
    QStringList models;

    friend bool operator==(const CorrectionCatalog&, const CorrectionCatalog&) = default;
};
