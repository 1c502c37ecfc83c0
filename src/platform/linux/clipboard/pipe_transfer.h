#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <csignal>

#include <optional>

// Clipboard contents through a pipe the desktop handed over, each way bounded in time: a program
// that stops answering must not hold ours.

// Everything up to the end of the stream; absent when it did not end within the limit.
std::optional<QByteArray> readPipe(int fd, int limitMs);
// True once all of `data` is written; false when the reader left or the limit passed first.
bool writePipe(int fd, const QByteArray& data, int limitMs);

// While it lives, a write to a pipe whose reader left fails with EPIPE instead of raising SIGPIPE on
// this thread, which would end the process.
class PipeSignalBlocked final {
public:
    PipeSignalBlocked();
    ~PipeSignalBlocked();
    Q_DISABLE_COPY_MOVE(PipeSignalBlocked)

private:
    sigset_t m_pipe;
    sigset_t m_before;
    bool m_wasPending = false;
};
