#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running program per user: the first start listens on a local socket in the runtime folder,
// a later start hands over to it and ends.
class SingleInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    enum class Claim { First, HandedOver };

    // `socketPath` empty: "quenda.socket" in $XDG_RUNTIME_DIR (else the temp folder, per user).
    explicit SingleInstance(QString socketPath = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString standardSocketPath();
    // Asks a running program to come forward, or becomes the one that is asked.
    Claim claim();
    // Tells the running program that a compositor binding saw the hotkey go down or up, at
    // `sentAtMs` on the system's monotonic clock; false when no program runs, for which nothing is
    // started.
    static bool sendHotkey(bool pressed, qint64 sentAtMs, const QString& socketPath = {});
    // Now on the monotonic clock every process shares.
    static qint64 monotonicMs();

signals:
    // A later start asked this program to show itself.
    void activationRequested();
    // A compositor binding saw the hotkey go down (true) or up, at sentAtMs (0: not said).
    void hotkeyCommanded(bool pressed, qint64 sentAtMs);

private:
    QString m_path;
    QLocalServer* m_server = nullptr;
};
