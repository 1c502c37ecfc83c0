#pragma once

#include <QStringList>

// Whether the process runs in snapshot mode ("--snapshot" among its arguments). In that mode no
// configuration, history or notes file is read or written and no key store is touched.
namespace RunMode {

bool isSnapshot();
// Decides the mode from the process arguments: an exact match of one argument.
void setArguments(const QStringList& arguments);
void setSnapshot(bool snapshot);

} // namespace RunMode
