#pragma once

#include <QByteArray>

// The secret the supervisor hands to each engine it launches, on the engine's standard input, so
// that only that engine can show it is ours. Requests carry a token derived from it, and /health
// answers a fresh challenge with a proof derived from it; neither reveals the secret, so a listener
// that receives them learns nothing it could prove itself with.
class EngineSecret final {
public:
    static constexpr char tokenHeader[] = "Quenda-Token";
    static constexpr char challengeHeader[] = "Quenda-Challenge";
    static constexpr char proofHeader[] = "Quenda-Proof";

    // 32 random bytes from the system's generator.
    EngineSecret();
    // A given secret in hex, for the fixed vector the engine is held to as well.
    explicit EngineSecret(QByteArray hex);

    // What the engine reads on its standard input: the secret in hex and a line end.
    QByteArray handover() const;
    QByteArray token() const;
    // The proof the engine gives for `challenge`.
    QByteArray proof(const QByteArray& challenge) const;
    // Whether `proof` answers `challenge`; compared in constant time.
    bool proves(const QByteArray& challenge, const QByteArray& proof) const;
    // A fresh challenge for one /health request.
    static QByteArray challenge();

private:
    QByteArray m_secret; // hex text, which is also the key of both derivations
};
