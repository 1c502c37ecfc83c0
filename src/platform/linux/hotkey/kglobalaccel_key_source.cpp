#include "platform/linux/hotkey/kglobalaccel_key_source.h"

#include "platform/linux/hotkey/bus_calls.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>

namespace {

const QString kPath = QStringLiteral("/kglobalaccel");
const QString kInterface = QStringLiteral("org.kde.KGlobalAccel");
const QString kComponentInterface = QStringLiteral("org.kde.kglobalaccel.Component");
const QString kComponent = QStringLiteral("quenda");
const QString kAction = QStringLiteral("hold");
// The service names a component's object after its unique name, which is plain letters here.
const QString kComponentPath = QStringLiteral("/component/quenda");
// SetPresent | NoAutoloading: active now, with this key rather than one saved earlier.
constexpr uint kSetNow = 2 | 4;

QList<BusCalls::Signal> shortcutSignals()
{
    return {{kComponentPath, kComponentInterface, QStringLiteral("globalShortcutPressed"),
             SLOT(shortcutPressed(QString, QString, qlonglong))},
            {kComponentPath, kComponentInterface, QStringLiteral("globalShortcutReleased"),
             SLOT(shortcutReleased(QString, QString, qlonglong))}};
}

QStringList actionId()
{
    return {kComponent, kAction, QStringLiteral("Quenda"), QStringLiteral("Hold to dictate")};
}

} // namespace

KGlobalAccelKeySource::KGlobalAccelKeySource(Clock& clock, QDBusConnection bus, QString service)
    : m_bus(std::move(bus))
    , m_service(std::move(service))
    // The service reports every release, and a held modifier does not repeat there.
    , m_key(clock, this, 0)
{
    qDBusRegisterMetaType<QList<int>>();
}

KGlobalAccelKeySource::~KGlobalAccelKeySource()
{
    stop();
}

bool KGlobalAccelKeySource::offered(const QDBusConnection& bus, const QString& service)
{
    const QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    return daemon && daemon->isServiceRegistered(service).value();
}

int KGlobalAccelKeySource::shortcutKey(PhysicalKey key)
{
    switch (key) {
    case PhysicalKey::RightAlt:
        return Qt::Key_Alt;
    case PhysicalKey::RightSuper:
        return Qt::Key_Meta;
    case PhysicalKey::RightControl:
    case PhysicalKey::LeftControl:
    case PhysicalKey::Escape:
    case PhysicalKey::Modifier:
    case PhysicalKey::Other:
        break;
    }
    return Qt::Key_Control;
}

KeySource::Reach KGlobalAccelKeySource::start(Listener& listener)
{
    stop();
    m_key.start(listener);
    m_running = true;
    BusCalls::listen(m_bus, m_service, shortcutSignals(), this, true);
    call(QStringLiteral("doRegister"), {actionId()});
    registerShortcut();
    return Reach::Global;
}

void KGlobalAccelKeySource::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_key.stop();
    BusCalls::listen(m_bus, m_service, shortcutSignals(), this, false);
    // A lone modifier kept as a shortcut would never reach other programs again.
    call(QStringLiteral("setInactive"), {actionId()});
}

void KGlobalAccelKeySource::watch(PhysicalKey key)
{
    const bool changed = shortcutKey(key) != shortcutKey(m_key.key());
    m_key.watch(key);
    if (m_running && changed)
        registerShortcut();
}

void KGlobalAccelKeySource::registerShortcut()
{
    call(QStringLiteral("setShortcut"),
         {actionId(), QVariant::fromValue(QList<int>{shortcutKey(m_key.key())}),
          QVariant::fromValue(kSetNow)});
}

void KGlobalAccelKeySource::call(const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(m_service, kPath, kInterface, method);
    message.setArguments(arguments);
    // Giving the modifier back at the stop may fail without failing anything that still runs.
    const auto refused = [this](const QString& why) { m_key.fail(why); };
    BusCalls::send(m_bus, message, this, QStringLiteral("the global shortcut service"),
                   m_running ? refused : std::function<void(const QString&)>());
}

bool KGlobalAccelKeySource::ours(const QString& component, const QString& action) const
{
    return m_running && component == kComponent && action == kAction;
}

void KGlobalAccelKeySource::shortcutPressed(const QString& component, const QString& action, qlonglong)
{
    if (ours(component, action))
        m_key.press();
}

void KGlobalAccelKeySource::shortcutReleased(const QString& component, const QString& action, qlonglong)
{
    if (ours(component, action))
        m_key.release();
}
