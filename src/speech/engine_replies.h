#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Replies of the engine. Decoding is strict: a missing required key, a value of another JSON type
// or a body that is not one JSON object makes the whole reply undecodable.

// GET /health
struct HealthBody {
    bool ready = false;
    std::optional<QString> error; // shown unchanged while not ready
    std::optional<QString> model;
    std::optional<bool> polish;
    std::optional<QString> polishError;

    static std::optional<HealthBody> decode(const QByteArray& bytes);
};

// POST /transcribe and POST /polish
struct TextBody {
    QString text;
    std::optional<QString> language;
    std::optional<QString> raw; // /transcribe: the words as heard, before they were written out
    // /transcribe: "server" (the user's speech server) or "built-in"
    std::optional<QString> recogniser;
    // /transcribe: why the speech server gave no text, when the built-in recogniser stood in
    std::optional<QString> serverError;

    static std::optional<TextBody> decode(const QByteArray& bytes);
};

// POST /correction-model
struct CorrectionModelBody {
    QString model;
    std::optional<QStringList> models;

    static std::optional<CorrectionModelBody> decode(const QByteArray& bytes);

    friend bool operator==(const CorrectionModelBody&, const CorrectionModelBody&) = default;
};

// The body of any reply outside 200-299, when the engine has a message.
struct ErrorBody {
    QString error;

    static std::optional<ErrorBody> decode(const QByteArray& bytes);
};
