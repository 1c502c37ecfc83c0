#include "platform/linux/wayland/pipe_writer.h"

#include "platform/linux/clipboard/pipe_transfer.h"

#include <QSocketNotifier>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

void PipeWriter::start(int fd, const QByteArray& bytes, QObject* parent)
{
    auto* writer = new PipeWriter(fd, bytes, parent);
    if (!writer->writeSome()) {
        delete writer;
        return;
    }
    writer->m_notifier = new QSocketNotifier(fd, QSocketNotifier::Write, writer);
    connect(writer->m_notifier, &QSocketNotifier::activated, writer, [writer] {
        if (!writer->writeSome())
            writer->finish();
    });
}

PipeWriter::PipeWriter(int fd, const QByteArray& bytes, QObject* parent)
    : QObject(parent)
    , m_fd(fd)
    , m_bytes(bytes)
{
    fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) | O_NONBLOCK);
}

PipeWriter::~PipeWriter()
{
    ::close(m_fd);
}

bool PipeWriter::writeSome()
{
    while (m_written < m_bytes.size()) {
        const PipeSignalBlocked blocked;
        const ssize_t written =
            ::write(m_fd, m_bytes.constData() + m_written, static_cast<size_t>(m_bytes.size() - m_written));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno == EAGAIN;
        m_written += written;
    }
    return false;
}

void PipeWriter::finish()
{
    m_notifier->setEnabled(false);
    deleteLater();
}
