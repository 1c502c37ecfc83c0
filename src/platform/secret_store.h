#pragma once

#include <QByteArray>
#include <QString>

// Generic passwords in the user's secret store, found by service and account. The login and the
// data-protection keychain hold separate items. Calls may block (the store may ask the user to
// unlock it); implementations are safe to call from any thread.
class SecretStore {
public:
    enum class Keychain { Login, DataProtection };
    enum class Status { Ok, NotFound, Failed };

    struct Read {
        Status status = Status::NotFound;
        QByteArray secret; // set only with Ok
    };

    virtual ~SecretStore() = default;

    virtual Read read(const QString& service, const QString& account, Keychain keychain) = 0;
    // Replaces the item's secret and label, or adds the item; false when nothing was stored.
    virtual bool write(const QString& service, const QString& account, Keychain keychain,
                       const QByteArray& secret, const QString& label) = 0;
    // NotFound when there was no such item.
    virtual Status remove(const QString& service, const QString& account, Keychain keychain) = 0;
};
