#pragma once

#include "core/base/result.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

// One remote-desktop session of the GNOME compositor (org.gnome.Mutter.RemoteDesktop on the
// session bus), shared by the keyboard and the clipboard built on it. Created and started on first
// use and kept, because each new session makes a new virtual keyboard; stopped when this object
// goes. Main thread only. Qt hands out the session's signals only once the event loop has turned
// after the bus connection was first used.
class MutterRemoteDesktop final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MutterRemoteDesktop)

public:
    static constexpr int callTimeoutMs = 2000;
    static const QString service;
    static const QString sessionInterface;

    // Why the session cannot be had or a call failed, for the user and the log.
    struct Failure {
        QString reason;
        QString errorName = {}; // the D-Bus error of a refused call, for callers that tell refusals apart
    };

    explicit MutterRemoteDesktop(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                                 QObject* parent = nullptr);
    ~MutterRemoteDesktop() override;

    // The running session's object path.
    Result<QString, Failure> session();
    // Calls a method of the running session, starting one first if needed.
    Result<QDBusMessage, Failure> call(const QString& method, const QVariantList& args = {});
    // Grows whenever a new session starts.
    quint64 generation() const { return m_generation; }
    // Hands the session's signals that the bus connection has already received to their receivers
    // now, so that what the compositor said before a call's reply is known once the call returns.
    void deliverReceivedSignals();

signals:
    // A new session runs; state kept for the previous one (an enabled clipboard) is gone.
    void started();
    // The compositor ended the session; the next use starts another.
    void closed();
    void selectionOwnerChanged(const QVariantMap& options);
    void selectionTransfer(const QString& mimeType, uint serial);

private slots:
    void onClosed();

private:
    Result<QString, Failure> start();
    void connectSignals(const QString& path, bool connect);

    QDBusConnection m_bus;
    QString m_path;
    quint64 m_generation = 0;
};
