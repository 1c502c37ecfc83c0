#include "speech/engine_stream.h"

#include "speech/engine_client.h"
#include "speech/engine_secret.h"

#include <QHostAddress>

EngineStream::EngineStream(Clock& clock, quint16 port, const QByteArray& target, const QByteArray& token,
                           QObject* parent)
    : SpeechStream(parent)
    , m_clock(clock)
{
    connect(&m_socket, &QTcpSocket::readyRead, this, &EngineStream::readReply);
    connect(&m_socket, &QTcpSocket::disconnected, this, &EngineStream::ended);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &EngineStream::ended);
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    // Held by the socket until it is connected.
    m_socket.write("POST " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) + "\r\n" +
                   EngineSecret::tokenHeader + ": " + token +
                   "\r\nContent-Type: application/octet-stream\r\nTransfer-Encoding: chunked\r\n\r\n");
}

EngineStream::~EngineStream()
{
    m_socket.disconnect(this);
    m_socket.abort();
}

void EngineStream::append(const QByteArray& pcm)
{
    if (!m_broken && !m_done)
        writeChunk(pcm);
}

bool EngineStream::finish(QByteArrayView pcm, int timeoutMs, Done done)
{
    if (m_broken || m_done || m_sent > pcm.size())
        return false;
    m_done = std::move(done);
    writeChunk(pcm.sliced(m_sent));
    m_socket.write("0\r\n\r\n");
    m_timeout = m_clock.after(timeoutMs, this, [this] { answer(EngineClient::timedOut()); });
    return true;
}

void EngineStream::writeChunk(QByteArrayView data)
{
    if (data.isEmpty())
        return;
    m_socket.write(QByteArray::number(data.size(), 16) + "\r\n");
    m_socket.write(data.data(), data.size());
    m_socket.write("\r\n");
    m_sent += data.size();
}

void EngineStream::readReply()
{
    if (!m_done) {
        // An answer before the recording ended is a refusal: the stream gives no text.
        ended();
        return;
    }
    m_reply += m_socket.readAll();
    if (m_reply.size() > EngineClient::kMaxReplyBytes)
        answer(EngineClient::transcriptOf({}, std::nullopt));
}

void EngineStream::ended()
{
    if (!m_done) {
        m_broken = true;
        m_socket.abort();
        return;
    }
    m_reply += m_socket.readAll();
    const qsizetype headEnd = m_reply.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        answer(EngineError{EngineError::Kind::Transport, m_socket.errorString()});
        return;
    }
    // "HTTP/1.0 200 OK"; the engine ends its answer by closing the connection.
    bool isNumber = false;
    const int status = m_reply.first(headEnd).split(' ').value(1).toInt(&isNumber);
    answer(EngineClient::transcriptOf(m_reply.sliced(headEnd + 4),
                                      isNumber ? std::optional(status) : std::nullopt));
}

void EngineStream::answer(const EngineResult<Transcript>& result)
{
    const Done done = std::exchange(m_done, nullptr);
    if (!done)
        return;
    m_broken = true;
    m_timeout.reset();
    m_socket.abort();
    done(result);
}
