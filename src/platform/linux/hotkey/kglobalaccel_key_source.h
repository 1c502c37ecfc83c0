#pragma once

#include "platform/key_source.h"
#include "platform/linux/hotkey/route_key.h"

#include <QDBusConnection>
#include <QObject>

class Clock;

// The hotkey through KDE's global shortcut service: the watched key's modifier alone is registered
// as a shortcut, whose press and release the service reports. It cannot tell left from right, and
// while registered that modifier alone no longer reaches other programs; stopping gives it back.
class KGlobalAccelKeySource final : public QObject, public KeySource {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KGlobalAccelKeySource)

public:
    static constexpr const char* serviceName = "org.kde.kglobalaccel";

    KGlobalAccelKeySource(Clock& clock, QDBusConnection bus,
                          QString service = QString::fromLatin1(serviceName));
    ~KGlobalAccelKeySource() override;

    // Whether the service has an owner on the bus; asks the bus daemon only.
    static bool offered(const QDBusConnection& bus,
                        const QString& service = QString::fromLatin1(serviceName));
    // The Qt key code registered for a watched key.
    static int shortcutKey(PhysicalKey key);

    Reach start(Listener& listener) override;
    void stop() override;
    void watch(PhysicalKey key) override;

private slots:
    void shortcutPressed(const QString& component, const QString& action, qlonglong timestamp);
    void shortcutReleased(const QString& component, const QString& action, qlonglong timestamp);

private:
    void call(const QString& method, const QVariantList& arguments);
    void registerShortcut();
    bool ours(const QString& component, const QString& action) const;

    QDBusConnection m_bus;
    QString m_service;
    RouteKey m_key;
    bool m_running = false;
};
