#pragma once

#include "platform/linux/keys/synthetic_keyboard.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

// Keys through the desktop portal's remote-desktop session (org.freedesktop.portal.RemoteDesktop),
// for a Wayland desktop that offers no other way. The desktop asks the user to approve the session
// in a dialog of its own, at every launch: the session is requested when this is made and kept,
// and until the user approves, every chord is refused as unavailable with a reason saying so.
// Keys go out as keysyms, as on the GNOME compositor's own session; no keys down can be seen.
class PortalKeyboard final : public QObject, public SyntheticKeyboard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortalKeyboard)

public:
    enum class Phase { Requesting, Ready, Failed };

    explicit PortalKeyboard(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                            QObject* parent = nullptr);
    ~PortalKeyboard() override;

    Phase phase() const { return m_phase; }
    // Why no chord can be posted now, for the user; empty once ready.
    QString reason() const { return m_reason; }

    Result<State, Failure> state() override;

signals:
    void phaseChanged(PortalKeyboard::Phase phase);

private slots:
    void onResponse(uint response, const QVariantMap& results);
    void onClosed();

private:
    enum class Step { CreateSession, SelectDevices, Start };

    void request(Step step, const QString& method, QVariantList args, QVariantMap options);
    void listen(const QString& path, bool connect);
    void fail(const QString& reason);
    Done send(Key key, bool down) override;

    QDBusConnection m_bus;
    Phase m_phase = Phase::Requesting;
    QString m_reason;
    Step m_step = Step::CreateSession;
    QString m_requestPath;
    QString m_session;
    int m_tokens = 0;
};
