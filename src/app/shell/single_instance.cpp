#include "app/shell/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <chrono>

#include <unistd.h>

namespace {

constexpr int kHandOverMs = 500;
const QByteArray kActivate = QByteArrayLiteral("activate\n");
const QByteArray kHotkeyPress = QByteArrayLiteral("hotkey press");
const QByteArray kHotkeyRelease = QByteArrayLiteral("hotkey release");

// Whether a program listens there; the line is written with a bounded wait.
bool send(const QString& path, const QByteArray& line)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kHandOverMs))
        return false;
    socket.write(line);
    socket.waitForBytesWritten(kHandOverMs);
    socket.disconnectFromServer();
    return true;
}

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

bool SingleInstance::sendHotkey(bool pressed, qint64 sentAtMs, const QString& socketPath)
{
    return send(socketPath.isEmpty() ? standardSocketPath() : socketPath,
                (pressed ? kHotkeyPress : kHotkeyRelease) + ' ' + QByteArray::number(sentAtMs) + '\n');
}

qint64 SingleInstance::monotonicMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

SingleInstance::Claim SingleInstance::claim()
{
    // Bounded waits before the event loop runs: the program has shown nothing yet.
    if (send(m_path, kActivate))
        return Claim::HandedOver;
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
                while (socket->canReadLine()) {
                    const QList<QByteArray> words = socket->readLine().trimmed().split(' ');
                    const QByteArray command = words.mid(0, 2).join(' ');
                    if (command == kHotkeyPress || command == kHotkeyRelease)
                        emit hotkeyCommanded(command == kHotkeyPress, words.value(2).toLongLong());
                    else
                        emit activationRequested();
                }
            });
        }
    });
    return Claim::First;
}
