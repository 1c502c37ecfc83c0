#pragma once

#include "platform/key_source.h"
#include "platform/linux/hotkey/route_key.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>

class Clock;

// One shortcut as the global shortcuts portal lists it: its id and its properties.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(PortalShortcut)

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

// The hotkey through the desktop portal's global shortcuts: one shortcut, with the watched key as
// the preferred trigger, which the desktop may show to the user and may change. Activated is a
// press; Deactivated, where the desktop sends it, a release; elsewhere a hold ends at its limit or
// at the next activation.
class PortalKeySource final : public QObject, public KeySource {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortalKeySource)

public:
    static constexpr const char* serviceName = "org.freedesktop.portal.Desktop";
    // Making a session asks nothing of the user; a portal that has not answered by then never
    // will, and the hotkey goes to the next route.
    static constexpr int sessionWaitMs = 5000;

    PortalKeySource(Clock& clock, QDBusConnection bus, QString service = QString::fromLatin1(serviceName));
    ~PortalKeySource() override;

    // The preferred trigger for a watched key, as the portal spells keys.
    static QString trigger(PhysicalKey key);

    Reach start(Listener& listener) override;
    void stop() override;
    void watch(PhysicalKey key) override;
    bool waiting() const override { return m_running && !m_bound; }

private slots:
    void sessionCreated(uint response, const QVariantMap& results);
    void shortcutsBound(uint response, const QVariantMap& results);
    void activated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                   const QVariantMap& options);
    void deactivated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                     const QVariantMap& options);

private:
    // Asks the portal for something answered on a request object; `slot` hears the answer.
    void request(const QString& method, QVariantList arguments, const char* slot);
    void closeSession();
    bool ours(const QDBusObjectPath& session, const QString& id) const;

    Clock& m_clock;
    QDBusConnection m_bus;
    QString m_service;
    RouteKey m_key;
    bool m_running = false;
    quint64 m_starts = 0;
    bool m_sessionAnswered = false;
    bool m_bound = false;
    quint64 m_tokens = 0;
    QString m_requestPath;
    const char* m_requestSlot = nullptr;
    QString m_session;
};
