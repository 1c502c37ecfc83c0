#pragma once

#include "core/base/result.h"

#include <QString>

// Whether the program starts with the user's session.
class LoginItem {
public:
    struct Changed {};
    // The change was made, or why not.
    using Outcome = Result<Changed, QString>;

    virtual ~LoginItem() = default;

    virtual bool enabled() const = 0;
    virtual Outcome enable() = 0;
    virtual Outcome disable() = 0;
};
