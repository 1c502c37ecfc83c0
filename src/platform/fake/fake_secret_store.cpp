#include "platform/fake/fake_secret_store.h"

#include <ostream>

namespace {

const char* operationName(FakeSecretStore::Operation operation)
{
    switch (operation) {
    case FakeSecretStore::Operation::Read:
        return "read";
    case FakeSecretStore::Operation::Write:
        return "write";
    case FakeSecretStore::Operation::Remove:
        return "remove";
    }
    return "";
}

} // namespace

SecretStore::Read FakeSecretStore::read(const QString& service, const QString& account, Keychain keychain)
{
    std::lock_guard lock(m_mutex);
    m_calls.append({Operation::Read, service, account, keychain});
    if (failsLocked(Operation::Read, keychain))
        return {Status::Failed, {}};
    const auto it = m_items.find({service, account, keychain});
    if (it == m_items.end())
        return {Status::NotFound, {}};
    return {Status::Ok, it->second};
}

bool FakeSecretStore::write(const QString& service, const QString& account, Keychain keychain,
                            const QByteArray& secret, const QString& /*label*/)
{
    std::lock_guard lock(m_mutex);
    m_calls.append({Operation::Write, service, account, keychain});
    if (failsLocked(Operation::Write, keychain))
        return false;
    m_items[{service, account, keychain}] = secret;
    return true;
}

SecretStore::Status FakeSecretStore::remove(const QString& service, const QString& account, Keychain keychain)
{
    std::lock_guard lock(m_mutex);
    m_calls.append({Operation::Remove, service, account, keychain});
    if (failsLocked(Operation::Remove, keychain))
        return Status::Failed;
    return m_items.erase({service, account, keychain}) > 0 ? Status::Ok : Status::NotFound;
}

void FakeSecretStore::put(const QString& service, const QString& account, Keychain keychain,
                          const QByteArray& secret)
{
    std::lock_guard lock(m_mutex);
    m_items[{service, account, keychain}] = secret;
}

std::optional<QByteArray> FakeSecretStore::item(const QString& service, const QString& account,
                                                Keychain keychain) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_items.find({service, account, keychain});
    if (it == m_items.end())
        return std::nullopt;
    return it->second;
}

int FakeSecretStore::itemCount() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_items.size());
}

void FakeSecretStore::setFailing(Operation operation, Keychain keychain, bool failing)
{
    std::lock_guard lock(m_mutex);
    if (failing)
        m_failing.insert({operation, keychain});
    else
        m_failing.erase({operation, keychain});
}

QList<FakeSecretStore::Call> FakeSecretStore::calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

bool FakeSecretStore::failsLocked(Operation operation, Keychain keychain) const
{
    return m_failing.contains({operation, keychain});
}

void PrintTo(const FakeSecretStore::Call& call, std::ostream* out)
{
    *out << operationName(call.operation) << ' ' << call.service.toStdString() << ' '
         << call.account.toStdString() << (call.keychain == SecretStore::Keychain::Login ? " login" : " dp");
}
