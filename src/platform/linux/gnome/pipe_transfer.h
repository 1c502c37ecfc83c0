#pragma once

#include <QByteArray>

#include <optional>

// Clipboard contents through a pipe the desktop handed over, each way bounded in time: a program
// that stops answering must not hold ours.

// Everything up to the end of the stream; absent when it did not end within the limit.
std::optional<QByteArray> readPipe(int fd, int limitMs);
// True once all of `data` is written; false when the reader left or the limit passed first.
bool writePipe(int fd, const QByteArray& data, int limitMs);
