#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and atomic writes of the stored JSON files, with one safety rule: a file that
// exists but could not be decoded is renamed to "<name>.corrupt-<timestamp>" before the first
// write that would replace it, so the user's data is never silently destroyed.
namespace JsonFile {

enum class ReadStatus { Ok, Missing, Unreadable };

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    QByteArray bytes;
};

ReadResult read(const QString& path);
// The caller could not decode what read() returned; keep the file aside before it is replaced.
void markUndecodable(const QString& path);
// Writes a complete new file in place of the old one; false when nothing was written.
bool writeAtomically(const QString& path, const QByteArray& bytes);

} // namespace JsonFile
