#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

// Hands bytes to another program through the write end of a pipe it gave us, without blocking:
// what the pipe cannot take now goes when it becomes writable. Closes the pipe and deletes itself
// once everything is written or the reader has gone.
class PipeWriter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PipeWriter)

public:
    // Takes ownership of fd.
    static void start(int fd, const QByteArray& bytes, QObject* parent);
    ~PipeWriter() override;

private:
    PipeWriter(int fd, const QByteArray& bytes, QObject* parent);

    // False once there is nothing more to write, or nobody to write to.
    bool writeSome();
    void finish();

    int m_fd;
    QByteArray m_bytes;
    qsizetype m_written = 0;
    QSocketNotifier* m_notifier = nullptr;
};
