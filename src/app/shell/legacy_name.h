#pragma once

// Moving a program installed under its old name. Debian packages own their paths, so the Linux
// program is never moved and leaves every copy to the package manager.
namespace LegacyName {
// True would mean the program was moved and relaunched; here it never is.
inline bool relocateIfNeeded()
{
    return false;
}
inline void removeOldBundle() {}
} // namespace LegacyName
