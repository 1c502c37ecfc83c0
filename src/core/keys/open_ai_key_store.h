#pragma once

#include "core/base/work_queue.h"
#include "core/keys/key_lookup.h"
#include "core/keys/key_readings.h"
#include "core/model/correction_endpoint.h"
#include "platform/secret_store.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <mutex>
#include <optional>

class QSettings;

// The correction providers' API keys in the secret store, one item per built-in provider kind and
// one per custom endpoint. Keys met in the login keychain or under the legacy service move to the
// data-protection keychain, each account at most once a run. Nothing is cached. The synchronous
// calls may block on the Secret Service and are safe from any thread; the main thread uses the
// background variants, which run one after another in the order they were made. Without a secret
// store (a run that must leave the user's keys alone) no key is found and none is kept.
class OpenAIKeyStore final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OpenAIKeyStore)

public:
    // `settings` are the user defaults; they are only touched on their own thread.
    OpenAIKeyStore(SecretStore* secrets, QSettings& settings, QObject* parent = nullptr);
    // Waits for background work still running.
    ~OpenAIKeyStore() override;

    static QString service();       // the program's id
    static QString legacyService(); // "de.oberkamm.Quenda"
    static QString openAIAccount(); // "openai-api-key", also the default key
    static QString itemLabel();
    // The user-defaults key set once the default key sits in the data-protection keychain.
    static QString dataProtectionFlagKey();

    // "openai-api-key", "claude-api-key", "cursor-api-key", or the endpoint's own account.
    static QString account(const CorrectionEndpoint& endpoint);
    // "correction." followed by the id in upper case.
    static QString endpointAccount(const QUuid& id);
    // The key of the user's own speech server, kept apart from the correction providers' keys.
    static QString speechAccount();
    // The provider's page for creating a key; none for custom and unknown kinds.
    static std::optional<QUrl> keySetupURL(const CorrectionEndpoint& endpoint);

    // The endpoint's key; failed only when no key was found and a read went unanswered.
    KeyLookup key(const CorrectionEndpoint& endpoint);
    // With an id that endpoint's own account, without it the default key; failed as with key().
    KeyLookup load(std::optional<QUuid> endpointId);
    // The speech server's key; failed as with key().
    KeyLookup speechKey();
    // Stores the trimmed key, or removes the account's item when it trims to nothing. True when
    // the store afterwards holds exactly that.
    bool save(const QString& key, const QString& account);

    // The same operations on a worker; `done` runs on this object's thread, and never once
    // `context` (which must live on this object's thread) is gone. `done` may be empty.
    void keyInBackground(const CorrectionEndpoint& endpoint, QObject* context,
                         std::function<void(KeyLookup)> done);
    void loadInBackground(std::optional<QUuid> endpointId, QObject* context,
                          std::function<void(KeyLookup)> done);
    void speechKeyInBackground(QObject* context, std::function<void(KeyLookup)> done);
    void saveInBackground(const QString& key, const QString& account, QObject* context,
                          std::function<void(bool)> done);
    // The default key, each endpoint's key and the speech server's key in one background job, so
    // it sees every save made before it.
    void readInBackground(const QList<CorrectionEndpoint>& endpoints, QObject* context,
                          std::function<void(KeyReadings)> done);

    // Blocks until the background work already asked for has run (tests and the snapshot only);
    // its answers still arrive through the event loop.
    void waitForIdle() { m_queue.waitForIdle(); }

signals:
    // A background save finished, whether or not it succeeded; the held keys may be stale now.
    void keySaved();

private:
    using Keychain = SecretStore::Keychain;

    // `unreadable`, when given, is set when the store did not answer (as opposed to holding no item).
    std::optional<QString> read(const QString& service, const QString& account, Keychain keychain,
                                bool* unreadable = nullptr);
    bool upsert(const QString& value, const QString& account, Keychain keychain);
    void deleteLogin(const QString& service, const QString& account);
    void remove(const QString& service, const QString& account);
    // True only for the first migration attempt of the account in this run.
    bool touch(const QString& account);
    void dropLoginCopy(const QString& account);
    // True when the value now sits in the data-protection keychain.
    bool migrateToDataProtection(const QString& value, const QString& account);
    // `unreadable` is set as with read() when no key was found and a read went unanswered.
    QString loadAccount(const QString& account, bool migrateLegacyOpenAI, bool* unreadable = nullptr);
    struct Peeked {
        enum class Source { None, DataProtection, Login, Legacy };
        QString key;
        Source source = Source::None;
        bool mainUnreadable = false; // a read of the main service went unanswered
        bool unreadable = false;     // a read before the key was found went unanswered
    };
    Peeked peek(const QString& account, bool includeLegacyOpenAI);
    void setDataProtectionFlag();

    SecretStore* const m_secrets;
    QSettings& m_settings;
    std::mutex m_touchedMutex;
    QSet<QString> m_touchedAccounts;
    // Last, so it is destroyed first: its destructor waits for jobs that use the members above.
    WorkQueue m_queue;
};
