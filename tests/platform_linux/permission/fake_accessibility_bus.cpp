#include "fake_accessibility_bus.h"

#include <QCoreApplication>
#include <QDBusConnection>

FakeAccessibilityBus::FakeAccessibilityBus()
    : m_service(QStringLiteral("de.morvane.quenda.test.a11y") +
                QString::number(QCoreApplication::applicationPid()))
{
    m_thread.start();
    moveToThread(&m_thread);
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.registerService(m_service);
    bus.registerObject(QStringLiteral("/org/a11y/bus"), this, QDBusConnection::ExportAllProperties);
    // Qt lets a new bus connection dispatch only from the next turn of the main thread's loop,
    // and the tests block that thread while the probe's worker asks this object.
    QCoreApplication::processEvents();
}

FakeAccessibilityBus::~FakeAccessibilityBus()
{
    release();
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QStringLiteral("/org/a11y/bus"));
    bus.unregisterService(m_service);
    m_thread.quit();
    m_thread.wait();
}

void FakeAccessibilityBus::release()
{
    if (m_held.exchange(false))
        m_gate.release();
}

bool FakeAccessibilityBus::isEnabled() const
{
    if (m_held)
        m_gate.acquire();
    return m_enabled;
}
