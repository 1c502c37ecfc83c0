#include "platform/linux/clipboard/pipe_transfer.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace {

// Waits until the pipe is ready for `events` or the deadline passes; false on the deadline.
bool ready(int fd, short events, const QDeadlineTimer& deadline)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        const int left = int(qMax<qint64>(0, deadline.remainingTime()));
        const int polled = ::poll(&entry, 1, left);
        if (polled > 0)
            return true;
        if (polled == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

// The signal raised while blocked is taken back before it is unblocked.
PipeSignalBlocked::PipeSignalBlocked()
{
    sigemptyset(&m_pipe);
    sigaddset(&m_pipe, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    m_wasPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &m_pipe, &m_before);
}

PipeSignalBlocked::~PipeSignalBlocked()
{
    sigset_t pending;
    sigpending(&pending);
    if (!m_wasPending && sigismember(&pending, SIGPIPE) == 1) {
        const timespec now{};
        sigtimedwait(&m_pipe, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
}

std::optional<QByteArray> readPipe(int fd, int limitMs)
{
    const QDeadlineTimer deadline(limitMs);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    QByteArray data;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            data.append(buffer, got);
            continue;
        }
        if (got == 0)
            return data;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN || !ready(fd, POLLIN, deadline))
            return std::nullopt;
    }
}

bool writePipe(int fd, const QByteArray& data, int limitMs)
{
    const QDeadlineTimer deadline(limitMs);
    const PipeSignalBlocked blocked;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t put = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (put >= 0) {
            done += put;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN || !ready(fd, POLLOUT, deadline))
            return false;
    }
    return true;
}
