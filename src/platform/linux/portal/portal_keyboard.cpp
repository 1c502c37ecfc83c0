#include "platform/linux/portal/portal_keyboard.h"

#include "platform/linux/keys/chord_keysyms.h"

#include <QDBusConnectionInterface>
#include <QDBusObjectPath>

using Reason = KeySynthesizer::Failure::Reason;

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString objectPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString remoteDesktop = QStringLiteral("org.freedesktop.portal.RemoteDesktop");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");
constexpr uint keyboardDevice = 1;
constexpr uint declined = 1;

QString errorText(const QDBusMessage& reply)
{
    return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
}

} // namespace

PortalKeyboard::PortalKeyboard(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
    , m_reason(QStringLiteral("approve the remote-desktop request the desktop shows"))
{
    if (!m_bus.isConnected()) {
        fail(QStringLiteral("no session bus to reach the desktop portal"));
        return;
    }
    // A desktop starts its portal on the first call, so one not running yet is as good.
    QDBusConnectionInterface* names = m_bus.interface();
    if (!names->isServiceRegistered(service).value() &&
        !names->activatableServiceNames().value().contains(service)) {
        fail(QStringLiteral("the desktop has no portal (%1 is not on the session bus)").arg(service));
        return;
    }
    request(Step::CreateSession, QStringLiteral("CreateSession"), {},
            {{QStringLiteral("session_handle_token"), QStringLiteral("quenda%1").arg(++m_tokens)}});
}

PortalKeyboard::~PortalKeyboard()
{
    if (!m_requestPath.isEmpty())
        listen(m_requestPath, false);
    if (m_session.isEmpty())
        return;
    m_bus.disconnect(service, m_session, sessionInterface, QStringLiteral("Closed"), this, SLOT(onClosed()));
    m_bus.call(QDBusMessage::createMethodCall(service, m_session, sessionInterface, QStringLiteral("Close")),
               QDBus::NoBlock);
}

void PortalKeyboard::request(Step step, const QString& method, QVariantList args, QVariantMap options)
{
    m_step = step;
    const QString token = QStringLiteral("quenda%1").arg(++m_tokens);
    options.insert(QStringLiteral("handle_token"), token);
    // The answer comes as a signal of a request object whose path is known beforehand; listening
    // first, it cannot be missed.
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    m_requestPath = objectPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    listen(m_requestPath, true);

    QDBusMessage call = QDBusMessage::createMethodCall(service, objectPath, remoteDesktop, method);
    call.setArguments(args << options);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        fail(QStringLiteral("the desktop portal refused the remote-desktop session: ") + errorText(reply));
        return;
    }
    // Portals older than the request paths above name another.
    const QString path = reply.arguments().constFirst().value<QDBusObjectPath>().path();
    if (path != m_requestPath) {
        listen(m_requestPath, false);
        m_requestPath = path;
        listen(m_requestPath, true);
    }
}

void PortalKeyboard::listen(const QString& path, bool connect)
{
    if (connect)
        m_bus.connect(service, path, requestInterface, QStringLiteral("Response"), this,
                      SLOT(onResponse(uint, QVariantMap)));
    else
        m_bus.disconnect(service, path, requestInterface, QStringLiteral("Response"), this,
                         SLOT(onResponse(uint, QVariantMap)));
}

void PortalKeyboard::onResponse(uint response, const QVariantMap& results)
{
    listen(m_requestPath, false);
    m_requestPath.clear();
    if (response != 0) {
        fail(response == declined ? QStringLiteral("the remote-desktop request was declined")
                                  : QStringLiteral("the desktop portal ended the remote-desktop request"));
        return;
    }
    switch (m_step) {
    case Step::CreateSession:
        m_session = results.value(QStringLiteral("session_handle")).toString();
        m_bus.connect(service, m_session, sessionInterface, QStringLiteral("Closed"), this, SLOT(onClosed()));
        request(Step::SelectDevices, QStringLiteral("SelectDevices"),
                {QVariant::fromValue(QDBusObjectPath(m_session))},
                {{QStringLiteral("types"), keyboardDevice}});
        return;
    case Step::SelectDevices:
        request(Step::Start, QStringLiteral("Start"),
                {QVariant::fromValue(QDBusObjectPath(m_session)), QString()}, {});
        return;
    case Step::Start:
        if ((results.value(QStringLiteral("devices")).toUInt() & keyboardDevice) == 0) {
            fail(QStringLiteral("the remote-desktop session was approved without the keyboard"));
            return;
        }
        m_phase = Phase::Ready;
        m_reason.clear();
        emit phaseChanged(m_phase);
        return;
    }
}

void PortalKeyboard::onClosed()
{
    fail(QStringLiteral("the desktop ended the remote-desktop session"));
}

void PortalKeyboard::fail(const QString& reason)
{
    m_phase = Phase::Failed;
    m_reason = reason;
    emit phaseChanged(m_phase);
}

Result<SyntheticKeyboard::State, SyntheticKeyboard::Failure> PortalKeyboard::state()
{
    if (m_phase != Phase::Ready)
        return Failure{Reason::Unavailable, m_reason};
    return State{};
}

SyntheticKeyboard::Done PortalKeyboard::send(Key key, bool down)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, objectPath, remoteDesktop,
                                                       QStringLiteral("NotifyKeyboardKeysym"));
    call.setArguments({QVariant::fromValue(QDBusObjectPath(m_session)), QVariantMap(), int(chordKeysym(key)),
                       uint(down ? 1 : 0)});
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return Failure{Reason::PostFailed, QStringLiteral("NotifyKeyboardKeysym: ") + errorText(reply)};
    return std::monostate{};
}
