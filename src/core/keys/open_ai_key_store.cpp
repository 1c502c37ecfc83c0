#include "core/keys/open_ai_key_store.h"

#include "core/base/app_id.h"
#include "core/base/guarded_reply.h"

#include <QSettings>
#include <QStringDecoder>
#include <QThread>

OpenAIKeyStore::OpenAIKeyStore(SecretStore* secrets, QSettings& settings, QObject* parent)
    : QObject(parent)
    , m_secrets(secrets)
    , m_settings(settings)
{
}

OpenAIKeyStore::~OpenAIKeyStore() = default;

QString OpenAIKeyStore::service()
{
    return appId;
}

QString OpenAIKeyStore::legacyService()
{
    return QStringLiteral("de.oberkamm.Quenda");
}

QString OpenAIKeyStore::openAIAccount()
{
    return QStringLiteral("openai-api-key");
}

QString OpenAIKeyStore::itemLabel()
{
    return QStringLiteral("Morvane Quenda OpenAI");
}

QString OpenAIKeyStore::dataProtectionFlagKey()
{
    return QStringLiteral("quenda.keychain.dp.v2");
}

QString OpenAIKeyStore::account(const CorrectionEndpoint& endpoint)
{
    const auto provider = CorrectionEndpoint::providerOf(endpoint.kind);
    if (provider && !provider->keyAccount.isEmpty())
        return provider->keyAccount;
    return endpointAccount(endpoint.id);
}

QString OpenAIKeyStore::endpointAccount(const QUuid& id)
{
    return QStringLiteral("correction.") + id.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUrl> OpenAIKeyStore::keySetupURL(const CorrectionEndpoint& endpoint)
{
    const auto provider = CorrectionEndpoint::providerOf(endpoint.kind);
    if (!provider || provider->keySetupURL.isEmpty())
        return std::nullopt;
    return QUrl(provider->keySetupURL);
}

QString OpenAIKeyStore::speechAccount()
{
    return QStringLiteral("speech-api-key");
}

KeyLookup OpenAIKeyStore::key(const CorrectionEndpoint& endpoint)
{
    if (!m_secrets)
        return KeyLookups::absent();
    const auto provider = CorrectionEndpoint::providerOf(endpoint.kind);
    const QString kindAccount = account(endpoint);
    bool unreadable = false;
    const QString found = loadAccount(kindAccount, provider && provider->generalKey, &unreadable);
    if (!found.isEmpty())
        return KeyLookups::found(found);
    // Older versions kept built-in providers' keys per endpoint; unknown kinds already read it.
    const QString own = endpointAccount(endpoint.id);
    if ((provider && provider->usesOwnBaseURL()) || own == kindAccount)
        return unreadable ? KeyLookups::failed() : KeyLookups::absent();
    bool ownUnreadable = false;
    const QString legacy = loadAccount(own, false, &ownUnreadable);
    if (legacy.isEmpty())
        return unreadable || ownUnreadable ? KeyLookups::failed() : KeyLookups::absent();
    // Moved rather than copied: a copy left behind would bring back a key the user removes later.
    // A kind item that could not be read may hold a newer key, so it is not overwritten.
    if (!unreadable && save(legacy, kindAccount))
        remove(service(), own);
    return KeyLookups::found(legacy);
}

KeyLookup OpenAIKeyStore::load(std::optional<QUuid> endpointId)
{
    if (!m_secrets)
        return KeyLookups::absent();
    bool unreadable = false;
    const QString found = endpointId ? loadAccount(endpointAccount(*endpointId), false, &unreadable)
                                     : loadAccount(openAIAccount(), true, &unreadable);
    if (!found.isEmpty())
        return KeyLookups::found(found);
    return unreadable ? KeyLookups::failed() : KeyLookups::absent();
}

KeyLookup OpenAIKeyStore::speechKey()
{
    if (!m_secrets)
        return KeyLookups::absent();
    bool unreadable = false;
    const QString found = loadAccount(speechAccount(), false, &unreadable);
    if (!found.isEmpty())
        return KeyLookups::found(found);
    return unreadable ? KeyLookups::failed() : KeyLookups::absent();
}

bool OpenAIKeyStore::save(const QString& key, const QString& account)
{
    if (!m_secrets)
        return false;
    const QString trimmed = key.trimmed();
    const bool isOpenAI = account == openAIAccount();
    const Peeked existing = peek(account, isOpenAI);
    // "Nothing stored" is only known when every read answered.
    if (trimmed == existing.key && !(trimmed.isEmpty() && existing.unreadable)) {
        // Already where it belongs: only a login copy may need to go, so nothing is written.
        if (existing.source == Peeked::Source::DataProtection)
            dropLoginCopy(account);
        else if (!trimmed.isEmpty())
            migrateToDataProtection(trimmed, account);
        return true;
    }

    if (!trimmed.isEmpty()) {
        bool stored = upsert(trimmed, account, Keychain::DataProtection);
        if (!stored) {
            // An older copy left in the data-protection keychain would win every later load,
            // and that load would then drop the new login copy.
            m_secrets->remove(service(), account, Keychain::DataProtection);
            stored = upsert(trimmed, account, Keychain::Login);
        }
        if (!stored)
            return false;
    } else {
        remove(service(), account);
        // Otherwise the next load would migrate the legacy key back in.
        if (isOpenAI)
            remove(legacyService(), account);
    }
    if (isOpenAI)
        setDataProtectionFlag();
    const Peeked stored = peek(account, isOpenAI);
    return stored.key == trimmed && !(trimmed.isEmpty() && stored.unreadable);
}

void OpenAIKeyStore::keyInBackground(const CorrectionEndpoint& endpoint, QObject* context,
                                     std::function<void(KeyLookup)> done)
{
    m_queue.run<KeyLookup>([this, endpoint] { return key(endpoint); }, context, std::move(done));
}

void OpenAIKeyStore::loadInBackground(std::optional<QUuid> endpointId, QObject* context,
                                      std::function<void(KeyLookup)> done)
{
    m_queue.run<KeyLookup>([this, endpointId] { return load(endpointId); }, context, std::move(done));
}

void OpenAIKeyStore::speechKeyInBackground(QObject* context, std::function<void(KeyLookup)> done)
{
    m_queue.run<KeyLookup>([this] { return speechKey(); }, context, std::move(done));
}

void OpenAIKeyStore::saveInBackground(const QString& key, const QString& account, QObject* context,
                                      std::function<void(bool)> done)
{
    // keySaved must reach the snapshot even when the caller's page closed meanwhile.
    m_queue.run<bool>([this, key, account] { return save(key, account); }, this,
                      [this, reply = GuardedReply<bool>(context, std::move(done))](bool saved) {
                          emit keySaved();
                          reply(saved);
                      });
}

void OpenAIKeyStore::readInBackground(const QList<CorrectionEndpoint>& endpoints, QObject* context,
                                      std::function<void(KeyReadings)> done)
{
    m_queue.run<KeyReadings>(
        [this, endpoints] {
            KeyReadings readings{load(std::nullopt), {}, speechKey()};
            for (const CorrectionEndpoint& endpoint : endpoints)
                readings.endpoints.push_back({endpoint, key(endpoint)});
            return readings;
        },
        context, std::move(done));
}

std::optional<QString> OpenAIKeyStore::read(const QString& service, const QString& account, Keychain keychain,
                                            bool* unreadable)
{
    const SecretStore::Read found = m_secrets->read(service, account, keychain);
    if (found.status == SecretStore::Status::Failed && unreadable)
        *unreadable = true;
    if (found.status != SecretStore::Status::Ok)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(found.secret);
    if (decoder.hasError() || text.isEmpty())
        return std::nullopt;
    return text;
}

bool OpenAIKeyStore::upsert(const QString& value, const QString& account, Keychain keychain)
{
    return m_secrets->write(service(), account, keychain, value.toUtf8(), itemLabel());
}

void OpenAIKeyStore::deleteLogin(const QString& service, const QString& account)
{
    m_secrets->remove(service, account, Keychain::Login);
}

void OpenAIKeyStore::remove(const QString& service, const QString& account)
{
    m_secrets->remove(service, account, Keychain::Login);
    m_secrets->remove(service, account, Keychain::DataProtection);
}

bool OpenAIKeyStore::touch(const QString& account)
{
    // The launch warm-up runs on a worker while the main thread may read the same account.
    std::lock_guard lock(m_touchedMutex);
    if (m_touchedAccounts.contains(account))
        return false;
    m_touchedAccounts.insert(account);
    return true;
}

void OpenAIKeyStore::dropLoginCopy(const QString& account)
{
    if (!touch(account))
        return;
    deleteLogin(service(), account);
    if (account == openAIAccount())
        setDataProtectionFlag();
}

bool OpenAIKeyStore::migrateToDataProtection(const QString& value, const QString& account)
{
    if (!touch(account))
        return false;
    if (!upsert(value, account, Keychain::DataProtection))
        return false;
    deleteLogin(service(), account);
    if (account == openAIAccount())
        setDataProtectionFlag();
    return true;
}

QString OpenAIKeyStore::loadAccount(const QString& account, bool migrateLegacyOpenAI, bool* unreadable)
{
    const Peeked found = peek(account, migrateLegacyOpenAI && account == openAIAccount());
    using Source = Peeked::Source;
    if (unreadable && found.unreadable && (found.source == Source::None || found.source == Source::Legacy))
        *unreadable = true;
    // An item of the main service that could not be read may be newer than an older copy found
    // later; moving that copy in would overwrite it, so it is only returned.
    switch (found.source) {
    case Source::DataProtection:
        dropLoginCopy(account);
        break;
    case Source::Login:
        if (!found.mainUnreadable)
            migrateToDataProtection(found.key, account);
        break;
    case Source::Legacy:
        if (!found.mainUnreadable && migrateToDataProtection(found.key, account))
            remove(legacyService(), account);
        break;
    case Source::None:
        break;
    }
    return found.key;
}

OpenAIKeyStore::Peeked OpenAIKeyStore::peek(const QString& account, bool includeLegacyOpenAI)
{
    using Source = Peeked::Source;
    bool unreadable = false;
    if (auto found = read(service(), account, Keychain::DataProtection, &unreadable))
        return {*found, Source::DataProtection, unreadable, unreadable};
    if (auto found = read(service(), account, Keychain::Login, &unreadable))
        return {*found, Source::Login, unreadable, unreadable};
    const bool mainUnreadable = unreadable;
    if (includeLegacyOpenAI) {
        if (auto found = read(legacyService(), account, Keychain::DataProtection, &unreadable))
            return {*found, Source::Legacy, mainUnreadable, unreadable};
        if (auto found = read(legacyService(), account, Keychain::Login, &unreadable))
            return {*found, Source::Legacy, mainUnreadable, unreadable};
    }
    return {{}, Source::None, mainUnreadable, unreadable};
}

void OpenAIKeyStore::setDataProtectionFlag()
{
    // QSettings is reentrant, not thread-safe, and the user defaults are shared with the main
    // thread: from the worker the write goes to the settings' own thread.
    QSettings* settings = &m_settings;
    const auto write = [settings] {
        if (!settings->value(dataProtectionFlagKey()).toBool())
            settings->setValue(dataProtectionFlagKey(), true);
    };
    if (QThread::currentThread() == settings->thread())
        write();
    else
        QMetaObject::invokeMethod(settings, write, Qt::QueuedConnection);
}
