#include "fake_engine_server.h"

#include <QTcpSocket>

#include <memory>

namespace {

// The chunks of a chunked body that have arrived whole, and whether its last one has.
std::pair<QByteArray, bool> dechunked(const QByteArray& data)
{
    QByteArray body;
    qsizetype at = 0;
    while (true) {
        const qsizetype lineEnd = data.indexOf("\r\n", at);
        if (lineEnd < 0)
            return {body, false};
        const qsizetype size = data.mid(at, lineEnd - at).toLongLong(nullptr, 16);
        if (size == 0)
            return {body, data.indexOf("\r\n\r\n", lineEnd) == lineEnd};
        if (data.size() < lineEnd + 2 + size + 2)
            return {body, false};
        body += data.mid(lineEnd + 2, size);
        at = lineEnd + 2 + size + 2;
    }
}

} // namespace

FakeEngineServer::FakeEngineServer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection())
            serve(socket);
    });
}

void FakeEngineServer::serve(QTcpSocket* socket)
{
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
        *buffer += socket->readAll();
        if (socket->property("answered").toBool())
            return buffer->clear();
        const qsizetype headEnd = buffer->indexOf("\r\n\r\n");
        if (headEnd < 0)
            return;
        RecordedRequest request;
        const QList<QByteArray> lines = buffer->left(headEnd).split('\n');
        const QList<QByteArray> start = lines.front().trimmed().split(' ');
        request.method = start.value(0);
        request.target = start.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                       lines[i].mid(colon + 1).trimmed());
        }
        const QByteArray path = request.target.split('?').front();
        const ScriptedReply reply = m_replies.value(path);
        if (request.headers.value("transfer-encoding").toLower() == "chunked") {
            // Recorded from its head on, with the chunks that came so far.
            const auto [body, ended] = dechunked(buffer->mid(headEnd + 4));
            request.body = body;
            bool ok = false;
            const qsizetype index = socket->property("request").toLongLong(&ok);
            if (ok) {
                m_requests[index] = request;
            } else {
                socket->setProperty("request", m_requests.size());
                m_requests.append(request);
                connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                    if (!socket->property("answered").toBool())
                        ++m_abandoned;
                });
            }
            if ((!ended && !reply.early) || reply.hold)
                return;
            socket->setProperty("answered", true);
            buffer->clear();
        } else {
            const qsizetype length = request.headers.value("content-length", "0").toLongLong();
            if (buffer->size() - headEnd - 4 < length)
                return;
            request.body = buffer->mid(headEnd + 4, length);
            buffer->clear();
            m_requests.append(request);
        }
        if (reply.hold) {
            connect(socket, &QTcpSocket::disconnected, this, [this] { ++m_abandoned; });
            return;
        }
        if (reply.quit)
            m_server.close();
        QByteArray proof;
        const QByteArray challenge =
            request.headers.value(QByteArray(EngineSecret::challengeHeader).toLower());
        if (m_prover && !challenge.isEmpty())
            proof = EngineSecret::proofHeader + QByteArrayLiteral(": ") + m_prover->proof(challenge) + "\r\n";
        socket->write("HTTP/1.1 " + QByteArray::number(reply.status) +
                      " Scripted\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
                      "\r\nConnection: close\r\n" + proof + reply.extraHeaders + "\r\n" + reply.body);
        socket->disconnectFromHost();
    });
}
