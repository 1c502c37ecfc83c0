#pragma once

#include "platform/secret_store.h"

// Secrets in the Secret Service (gnome-keyring, KWallet) through libsecret. The keychain is an
// item attribute, so login and data-protection items of one account never meet. With no
// Secret Service on the session bus every call fails; nothing is kept anywhere else.
class LibsecretStore final : public SecretStore {
public:
    LibsecretStore() = default;

    Read read(const QString& service, const QString& account, Keychain keychain) override;
    bool write(const QString& service, const QString& account, Keychain keychain, const QByteArray& secret,
               const QString& label) override;
    Status remove(const QString& service, const QString& account, Keychain keychain) override;
};
