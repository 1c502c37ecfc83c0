#pragma once

#include <QString>
#include <QtGlobal>

// Linux numbers no displays, so the widget names a screen by a hash of its connector name and, when
// the monitor reports one, its serial number. FNV-1a rather than qHash: the id is stored in the
// configuration and must be the same in every run.
namespace DisplayId {

quint32 of(const QString& name, const QString& serialNumber = {});

} // namespace DisplayId
