#include "platform/linux/wayland/pipe_writer.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <ctime>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

// A reader that closed its end early must not end this process with SIGPIPE: the signal is held
// back on this thread for the one write, and taken off again if the write raised it.
ssize_t writeWithoutSigpipe(int fd, const char* bytes, size_t size)
{
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);

    ssize_t written;
    do {
        written = ::write(fd, bytes, size);
    } while (written < 0 && errno == EINTR);

    if (written < 0 && errno == EPIPE && !alreadyPending) {
        const int error = errno;
        const timespec now{0, 0};
        sigtimedwait(&pipeOnly, nullptr, &now);
        errno = error;
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return written;
}

} // namespace

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
        const ssize_t written = writeWithoutSigpipe(m_fd, m_bytes.constData() + m_written,
                                                    static_cast<size_t>(m_bytes.size() - m_written));
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
