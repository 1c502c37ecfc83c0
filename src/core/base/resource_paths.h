#pragma once

#include <QString>

// The program's read-only resources: <executable dir>/../share/quenda. The build stages them there
// so the built program runs in place.
namespace ResourcePaths {

// Empty before the application object exists.
QString directory();

} // namespace ResourcePaths
