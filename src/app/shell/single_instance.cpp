#include "app/shell/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

constexpr int kHandOverMs = 500;
const QByteArray kActivate = QByteArrayLiteral("activate\n");

} // namespace

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent)
    , m_path(socketPath.isEmpty() ? standardSocketPath() : std::move(socketPath))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::standardSocketPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + QStringLiteral("/quenda.socket");
    return QDir::tempPath() + QStringLiteral("/quenda-%1.socket").arg(getuid());
}

SingleInstance::Claim SingleInstance::claim()
{
    {
        // Bounded waits before the event loop runs: the program has shown nothing yet.
        QLocalSocket probe;
        probe.connectToServer(m_path);
        if (probe.waitForConnected(kHandOverMs)) {
            probe.write(kActivate);
            probe.waitForBytesWritten(kHandOverMs);
            probe.disconnectFromServer();
            return Claim::HandedOver;
        }
    }
    // Nobody answered, so a socket file left there is from a program that died.
    QLocalServer::removeServer(m_path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_path))
        return Claim::First;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains('\n'))
                    emit activationRequested();
            });
        }
    });
    return Claim::First;
}
