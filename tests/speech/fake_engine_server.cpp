#include "fake_engine_server.h"

#include <QTcpSocket>

#include <memory>

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
        const qsizetype length = request.headers.value("content-length", "0").toLongLong();
        if (buffer->size() - headEnd - 4 < length)
            return;
        request.body = buffer->mid(headEnd + 4, length);
        buffer->clear();
        m_requests.append(request);

        const QByteArray path = request.target.split('?').front();
        const ScriptedReply reply = m_replies.value(path);
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
