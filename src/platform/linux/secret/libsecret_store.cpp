#include "platform/linux/secret/libsecret_store.h"

#include "core/base/app_id.h"

// GLib names a struct member "signals", which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

#include <memory>

namespace {

const SecretSchema* schema()
{
    static const SecretSchema s = [] {
        SecretSchema value{};
        static const QByteArray name = QByteArray(appId.data(), appId.size()) + ".GenericPassword";
        value.name = name.constData();
        value.flags = SECRET_SCHEMA_NONE;
        value.attributes[0] = {"service", SECRET_SCHEMA_ATTRIBUTE_STRING};
        value.attributes[1] = {"account", SECRET_SCHEMA_ATTRIBUTE_STRING};
        value.attributes[2] = {"keychain", SECRET_SCHEMA_ATTRIBUTE_STRING};
        return value;
    }();
    return &s;
}

const char* keychainName(SecretStore::Keychain keychain)
{
    return keychain == SecretStore::Keychain::Login ? "login" : "data-protection";
}

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

struct ValueUnref {
    void operator()(SecretValue* value) const { secret_value_unref(value); }
};
using ValuePtr = std::unique_ptr<SecretValue, ValueUnref>;

} // namespace

SecretStore::Read LibsecretStore::read(const QString& service, const QString& account, Keychain keychain)
{
    const QByteArray s = service.toUtf8();
    const QByteArray a = account.toUtf8();
    GError* raw = nullptr;
    ValuePtr value(secret_password_lookup_binary_sync(schema(), nullptr, &raw, "service", s.constData(),
                                                      "account", a.constData(), "keychain",
                                                      keychainName(keychain), nullptr));
    const ErrorPtr error(raw);
    if (error)
        return {Status::Failed, {}};
    if (!value)
        return {Status::NotFound, {}};
    gsize length = 0;
    const gchar* bytes = secret_value_get(value.get(), &length);
    return {Status::Ok, QByteArray(bytes, static_cast<qsizetype>(length))};
}

bool LibsecretStore::write(const QString& service, const QString& account, Keychain keychain,
                           const QByteArray& secret, const QString& label)
{
    const QByteArray s = service.toUtf8();
    const QByteArray a = account.toUtf8();
    const QByteArray l = label.toUtf8();
    const ValuePtr value(secret_value_new(secret.constData(), secret.size(), "text/plain"));
    GError* raw = nullptr;
    // Storing with the same attributes replaces the existing item, so this is update-or-add.
    const gboolean stored = secret_password_store_binary_sync(
        schema(), SECRET_COLLECTION_DEFAULT, l.constData(), value.get(), nullptr, &raw, "service",
        s.constData(), "account", a.constData(), "keychain", keychainName(keychain), nullptr);
    const ErrorPtr error(raw);
    return stored && !error;
}

SecretStore::Status LibsecretStore::remove(const QString& service, const QString& account, Keychain keychain)
{
    const QByteArray s = service.toUtf8();
    const QByteArray a = account.toUtf8();
    GError* raw = nullptr;
    const gboolean removed =
        secret_password_clear_sync(schema(), nullptr, &raw, "service", s.constData(), "account",
                                   a.constData(), "keychain", keychainName(keychain), nullptr);
    const ErrorPtr error(raw);
    if (error)
        return Status::Failed;
    return removed ? Status::Ok : Status::NotFound;
}
