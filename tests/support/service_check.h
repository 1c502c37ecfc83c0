#pragma once

#include <QString>
#include <QtGlobal>

#include <gtest/gtest.h>

namespace ServiceCheck {

// scripts/with-services promises every service it starts, and CI always runs under it: there a
// missing one is a broken run, and a skip would count as a pass.
inline bool promised()
{
    return qEnvironmentVariable("QUENDA_IN_SERVICES") == QLatin1String("1") ||
           qEnvironmentVariable("CI") == QLatin1String("true");
}

inline bool inServices()
{
    return qEnvironmentVariable("QUENDA_IN_SERVICES") == QLatin1String("1");
}

} // namespace ServiceCheck

// Leaves the test out when `available` is false outside the test services; fails it under them.
// `what` names the service, e.g. "the private PulseAudio server".
#define QUENDA_NEEDS_SERVICE(available, what)                                                                \
    switch (0)                                                                                               \
    case 0:                                                                                                  \
    default:                                                                                                 \
        if (available) {                                                                                     \
        } else if (ServiceCheck::promised())                                                                 \
            GTEST_FAIL() << "missing " << what                                                               \
                         << " although the test services were promised (QUENDA_IN_SERVICES=1 or CI=true)";   \
        else                                                                                                 \
            GTEST_SKIP() << "needs " << what << ": run under scripts/with-services"
