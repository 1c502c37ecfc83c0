#pragma once

#include "platform/secret_store.h"

#include <QList>

#include <iosfwd>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

// An in-memory secret store with failure injection and a log of every call.
class FakeSecretStore final : public SecretStore {
public:
    enum class Operation { Read, Write, Remove };

    Read read(const QString& service, const QString& account, Keychain keychain) override;
    bool write(const QString& service, const QString& account, Keychain keychain, const QByteArray& secret,
               const QString& label) override;
    Status remove(const QString& service, const QString& account, Keychain keychain) override;

    // Seeds and inspects items without counting as calls.
    void put(const QString& service, const QString& account, Keychain keychain, const QByteArray& secret);
    std::optional<QByteArray> item(const QString& service, const QString& account, Keychain keychain) const;
    int itemCount() const;

    // Every later call of that operation on that keychain fails.
    void setFailing(Operation operation, Keychain keychain, bool failing);

    struct Call {
        Operation operation;
        QString service;
        QString account;
        Keychain keychain;
        bool operator==(const Call&) const = default;
        friend void PrintTo(const Call& call, std::ostream* out); // for test failure messages
    };
    // Calls so far, oldest first.
    QList<Call> calls() const;

private:
    using Key = std::tuple<QString, QString, Keychain>;

    bool failsLocked(Operation operation, Keychain keychain) const;

    mutable std::mutex m_mutex;
    std::map<Key, QByteArray> m_items;
    std::set<std::pair<Operation, Keychain>> m_failing;
    QList<Call> m_calls;
};
