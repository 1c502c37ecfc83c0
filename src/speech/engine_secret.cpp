#include "speech/engine_secret.h"

#include <QList>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

namespace {

// `words` 32-bit words from the system's generator, in hex.
QByteArray randomHex(qsizetype words)
{
    QList<quint32> raw(words);
    QRandomGenerator::system()->fillRange(raw.data(), raw.size());
    return QByteArray(reinterpret_cast<const char*>(raw.constData()), words * 4).toHex();
}

QByteArray mac(const QByteArray& key, const QByteArray& message)
{
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256).toHex();
}

} // namespace

EngineSecret::EngineSecret()
    : EngineSecret(randomHex(8))
{
}

EngineSecret::EngineSecret(QByteArray hex)
    : m_secret(std::move(hex))
{
}

QByteArray EngineSecret::handover() const
{
    return m_secret + '\n';
}

QByteArray EngineSecret::token() const
{
    return mac(m_secret, QByteArrayLiteral("request"));
}

QByteArray EngineSecret::proof(const QByteArray& challenge) const
{
    return mac(m_secret, QByteArrayLiteral("health ") + challenge);
}

bool EngineSecret::proves(const QByteArray& challenge, const QByteArray& proof) const
{
    const QByteArray expected = this->proof(challenge);
    if (proof.size() != expected.size())
        return false;
    // A listener timing the comparison learns nothing about the proof byte by byte.
    char difference = 0;
    for (qsizetype i = 0; i < expected.size(); ++i)
        difference = static_cast<char>(difference | (expected[i] ^ proof[i]));
    return difference == 0;
}

QByteArray EngineSecret::challenge()
{
    return randomHex(4);
}
