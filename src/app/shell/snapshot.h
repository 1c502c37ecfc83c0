#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

// Renders every screen of the program with demonstration data into PNG files, for documentation
// and visual review. Needs a QApplication; reads and writes no user file.
namespace Snapshot {

struct Shot {
    QString name;
    QSize size; // in pixels of the file
};

// The file names one run writes, in order.
QStringList screenNames();
// Write failures are ignored: a missing picture must not fail a documentation build. Returns the
// pictures it rendered, in the order of screenNames().
QList<Shot> run(const QString& directory);

} // namespace Snapshot
