#pragma once

#include "core/model/app_style_profile.h"

#include <QList>

// Where StyleUpkeep reads and writes the style profiles: the configuration's appStyles.
class StyleProfiles {
public:
    // The user's own choice is confirmed by the settings-saved notice; upkeep is not.
    enum class Origin { User, Upkeep };

    virtual ~StyleProfiles() = default;

    // Read afresh before every change: whoever hears of a write may have answered it with another.
    virtual const QList<AppStyleProfile>& styleProfiles() const = 0;
    virtual void writeStyleProfiles(const QList<AppStyleProfile>& profiles, Origin origin) = 0;
};
