#pragma once

#include <QHashFunctions>
#include <QString>

#include <memory>
#include <utility>

// One element of another application's accessibility tree, as a backend hands it out. Copies name
// the same element; two handles are equal when they name the same element of the same application.
// A default-constructed handle names nothing.
class AccessibleElement final {
public:
    // What a backend keeps for the element; only the backend that made it looks inside.
    class Payload {
    public:
        virtual ~Payload() = default;
    };

    AccessibleElement() = default;
    AccessibleElement(QString identity, std::shared_ptr<const Payload> payload)
        : m_identity(std::move(identity))
        , m_payload(std::move(payload))
    {
    }

    bool isNull() const { return m_identity.isEmpty(); }
    // Stable while the element lives, e.g. "<bus name><object path>"; for logs and hashing.
    const QString& identity() const { return m_identity; }
    const Payload* payload() const { return m_payload.get(); }

    friend bool operator==(const AccessibleElement& a, const AccessibleElement& b)
    {
        return a.m_identity == b.m_identity;
    }
    friend size_t qHash(const AccessibleElement& element, size_t seed = 0)
    {
        return qHash(element.m_identity, seed);
    }

private:
    QString m_identity;
    std::shared_ptr<const Payload> m_payload;
};
