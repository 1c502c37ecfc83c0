#pragma once

#include <QString>
#include <QStringList>

// Renders every screen of the program with demonstration data into PNG files, for documentation
// and visual review. Needs a QApplication; reads and writes no user file.
namespace Snapshot {
// The file names one run writes, in order.
QStringList screenNames();
// Write failures are ignored: a missing picture must not fail a documentation build.
void run(const QString& directory);
} // namespace Snapshot
