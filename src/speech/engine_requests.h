#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

// Request bodies sent to the engine. An optional field is written only when it has a value.

// POST /speech-check: the user's speech server, asked to transcribe a moment of silence.
struct SpeechCheckRequest {
    QString baseURL;
    QString model;
    QString apiKey;

    QJsonObject toJson() const;
};

// POST /correction-model
struct CorrectionModelRequest {
    QString apiKey;
    QString baseURL;

    QJsonObject toJson() const;
};

// One correction endpoint inside PolishBody.
struct PolishEndpointBody {
    QString model;
    std::optional<QString> apiKey;
    QString baseURL;
    QString kind;

    QJsonObject toJson() const;

    friend bool operator==(const PolishEndpointBody&, const PolishEndpointBody&) = default;
};

// POST /polish
struct PolishBody {
    QString raw;
    std::optional<QString> selection;
    QString style;
    QString instructions;
    QString dictionary;
    std::optional<QString> targetLanguage;
    QString provider;
    std::optional<QString> apiKey;
    std::optional<QString> openAIModel;
    std::optional<QString> baseURL;
    QList<PolishEndpointBody> endpoints;
    bool noteAnswer = false;

    QJsonObject toJson() const;
};
