#pragma once

#include <QJsonObject>
#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>
#include <span>

// One correction (polishing) provider the engine may call.
struct CorrectionEndpoint {
    QUuid id;
    QString kind;    // one of the providers' raw kinds; not enforced when decoding
    QString model;   // "auto" lets the engine choose
    QString baseURL; // used only by a provider without a base URL of its own ("custom")
    bool enabled = true;

    // What a kind of provider decides, one row per kind this version knows.
    struct Provider {
        QLatin1String kind; // the stored raw value
        // The provider's API; empty for a server the user names, whose URL then stands in for a key.
        QLatin1String baseURL{};
        // The secret-store account of the provider's key; empty: each endpoint has its own.
        QLatin1String keyAccount{};
        // The page where a user creates a key; empty: none.
        QLatin1String keySetupURL{};
        // Its key is the app's general one, which the engine also receives on its own.
        bool generalKey = false;

        bool usesOwnBaseURL() const { return baseURL.isEmpty(); }
    };
    static std::span<const Provider> providers();
    // The row of a raw kind; none for a kind this version does not know.
    static std::optional<Provider> providerOf(const QString& kind);
    // OpenAI's row, the kind a fresh configuration starts with.
    static const Provider& openAI();
    // The row of a server the user names by its base URL.
    static const Provider& ownServer();

    static const QStringList& knownKinds();
    // The provider's API host the OpenAI kind stands for; the config decoder compares against it.
    static QString openAIHost();
    // OpenAI's API, where the general key belongs; an unknown kind goes there as well.
    static QString openAIBaseURL();

    // The API base URL this endpoint stands for, by kind.
    QString resolvedBaseURL() const;
    // Its kind is a server the user names, reached at its own base URL.
    bool usesOwnBaseURL() const;

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
