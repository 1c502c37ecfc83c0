#include "speech/health_probe.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QNetworkProxy>
#include <QTcpSocket>

namespace HealthProbe {

namespace {

constexpr qsizetype kMaxResponse = 64 * 1024;

int remaining(const QDeadlineTimer& deadline)
{
    return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}

std::optional<qsizetype> contentLength(QByteArrayView head)
{
    for (const QByteArray& line : head.toByteArray().split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed().toLower() != "content-length")
            continue;
        bool ok = false;
        const qsizetype length = line.mid(colon + 1).trimmed().toLongLong(&ok);
        if (ok && length >= 0)
            return length;
        return std::nullopt;
    }
    return std::nullopt;
}

// The body once the response is complete: by its Content-Length, or when the engine closed.
std::optional<QByteArray> completeBody(const QByteArray& response, bool closed)
{
    const qsizetype end = response.indexOf("\r\n\r\n");
    if (end < 0)
        return std::nullopt;
    const QByteArray body = response.mid(end + 4);
    if (const auto length = contentLength(QByteArrayView(response).first(end))) {
        if (body.size() >= *length)
            return body.left(*length);
        return std::nullopt;
    }
    if (closed)
        return body;
    return std::nullopt;
}

} // namespace

std::optional<HealthBody> fetch(qint64 port, int timeoutMs)
{
    if (port < 1 || port > 65535)
        return std::nullopt;
    const QDeadlineTimer deadline(timeoutMs);
    QTcpSocket socket;
    socket.setProxy(QNetworkProxy::NoProxy);
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), static_cast<quint16>(port));
    if (!socket.waitForConnected(remaining(deadline)))
        return std::nullopt;
    // HTTP/1.0 keeps the engine from answering in chunks and makes it close when done.
    socket.write("GET /health HTTP/1.0\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
                 "\r\nConnection: close\r\n\r\n");
    QByteArray response;
    for (;;) {
        response += socket.readAll();
        const bool closed = socket.state() != QAbstractSocket::ConnectedState;
        if (const auto body = completeBody(response, closed))
            return HealthBody::decode(*body);
        if (closed || response.size() > kMaxResponse || deadline.hasExpired())
            return std::nullopt;
        if (!socket.waitForReadyRead(remaining(deadline)) &&
            socket.state() == QAbstractSocket::ConnectedState)
            return std::nullopt;
    }
}

} // namespace HealthProbe
