#include "platform/linux/hotkey/portal_key_source.h"

#include "core/base/clock.h"
#include "platform/linux/hotkey/bus_calls.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kShortcut = QStringLiteral("hold");

QList<BusCalls::Signal> shortcutSignals()
{
    return {{kPath, kInterface, QStringLiteral("Activated"),
             SLOT(activated(QDBusObjectPath, QString, qulonglong, QVariantMap))},
            {kPath, kInterface, QStringLiteral("Deactivated"),
             SLOT(deactivated(QDBusObjectPath, QString, qulonglong, QVariantMap))}};
}

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

PortalKeySource::PortalKeySource(Clock& clock, QDBusConnection bus, QString service)
    : m_clock(clock)
    , m_bus(std::move(bus))
    , m_service(std::move(service))
    // A desktop may never send Deactivated: its holds end at the limit.
    , m_key(clock, this, RouteKey::lossyHoldLimitMs)
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

PortalKeySource::~PortalKeySource()
{
    stop();
}

QString PortalKeySource::trigger(PhysicalKey key)
{
    switch (key) {
    case PhysicalKey::RightAlt:
        return QStringLiteral("Alt_R");
    case PhysicalKey::RightSuper:
        return QStringLiteral("Super_R");
    case PhysicalKey::LeftControl:
        return QStringLiteral("Control_L");
    case PhysicalKey::RightControl:
    case PhysicalKey::Escape:
    case PhysicalKey::Modifier:
    case PhysicalKey::Other:
        break;
    }
    return QStringLiteral("Control_R");
}

KeySource::Reach PortalKeySource::start(Listener& listener)
{
    stop();
    m_key.start(listener);
    m_running = true;
    BusCalls::listen(m_bus, m_service, shortcutSignals(), this, true);
    const QString token = QStringLiteral("quenda_session%1").arg(++m_tokens);
    m_sessionAnswered = false;
    m_bound = false;
    request(QStringLiteral("CreateSession"), {QVariantMap{{QStringLiteral("session_handle_token"), token}}},
            SLOT(sessionCreated(uint, QVariantMap)));
    m_clock.singleShot(sessionWaitMs, this, [this, start = ++m_starts] {
        if (m_running && start == m_starts && !m_sessionAnswered)
            m_key.fail(
                QStringLiteral("the shortcuts portal made no session in %1 s").arg(sessionWaitMs / 1000));
    });
    return Reach::Global;
}

void PortalKeySource::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_key.stop();
    BusCalls::listen(m_bus, m_service, shortcutSignals(), this, false);
    if (!m_requestPath.isEmpty())
        m_bus.disconnect(m_service, m_requestPath, kRequestInterface, QStringLiteral("Response"), this,
                         m_requestSlot);
    m_requestPath.clear();
    closeSession();
}

void PortalKeySource::watch(PhysicalKey key)
{
    // The trigger was only a preference, and the user may have chosen another since: the session
    // keeps its shortcut, and only the key reported changes.
    m_key.watch(key);
}

void PortalKeySource::request(const QString& method, QVariantList arguments, const char* slot)
{
    if (!m_requestPath.isEmpty())
        m_bus.disconnect(m_service, m_requestPath, kRequestInterface, QStringLiteral("Response"), this,
                         m_requestSlot);
    // The answer may come before the call returns, so it is listened for on the path the portal
    // derives from our name and the token.
    const QString token = QStringLiteral("quenda%1").arg(++m_tokens);
    QString sender = m_bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    m_requestPath = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    m_requestSlot = slot;
    m_bus.connect(m_service, m_requestPath, kRequestInterface, QStringLiteral("Response"), this, slot);
    QVariantMap options = arguments.takeLast().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);
    QDBusMessage message = QDBusMessage::createMethodCall(m_service, kPath, kInterface, method);
    message.setArguments(arguments);
    BusCalls::send(m_bus, message, this, QStringLiteral("the shortcuts portal"),
                   [this](const QString& why) { m_key.fail(why); });
}

void PortalKeySource::sessionCreated(uint response, const QVariantMap& results)
{
    if (!m_running)
        return;
    m_sessionAnswered = true;
    // The handle is a string in the portal's first versions and an object path in later ones.
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    m_session = handle.userType() == qMetaTypeId<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path()
                                                                    : handle.toString();
    if (response != 0 || m_session.isEmpty()) {
        m_key.fail(QStringLiteral("the shortcuts portal made no session (%1)").arg(response));
        return;
    }
    const QList<PortalShortcut> shortcuts{
        {kShortcut,
         {{QStringLiteral("description"), QStringLiteral("Hold to dictate")},
          {QStringLiteral("preferred_trigger"), trigger(m_key.key())}}}};
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts), QString(),
             QVariantMap()},
            SLOT(shortcutsBound(uint, QVariantMap)));
}

void PortalKeySource::shortcutsBound(uint response, const QVariantMap&)
{
    if (!m_running)
        return;
    if (response != 0) {
        m_key.fail(QStringLiteral("the shortcuts portal did not bind the shortcut (%1)").arg(response));
        return;
    }
    m_bound = true;
    m_key.answered();
}

bool PortalKeySource::ours(const QDBusObjectPath& session, const QString& id) const
{
    return m_running && !m_session.isEmpty() && session.path() == m_session && id == kShortcut;
}

void PortalKeySource::activated(const QDBusObjectPath& session, const QString& id, qulonglong,
                                const QVariantMap&)
{
    if (ours(session, id))
        m_key.press();
}

void PortalKeySource::deactivated(const QDBusObjectPath& session, const QString& id, qulonglong,
                                  const QVariantMap&)
{
    if (ours(session, id))
        m_key.release();
}

void PortalKeySource::closeSession()
{
    if (m_session.isEmpty())
        return;
    QDBusMessage close = QDBusMessage::createMethodCall(
        m_service, m_session, QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Close"));
    // Nobody is left to hear an answer.
    m_bus.send(close);
    m_session.clear();
}
