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

void FakeAccessibilityBus::hold()
{
    const QMutexLocker lock(&m_mutex);
    m_held = true;
}

void FakeAccessibilityBus::release()
{
    const QMutexLocker lock(&m_mutex);
    m_held = false;
    m_released.wakeAll();
}

bool FakeAccessibilityBus::isEnabled() const
{
    QMutexLocker lock(&m_mutex);
    while (m_held)
        m_released.wait(&m_mutex);
    return m_enabled;
}
