#pragma once

#include "platform/accessible_element.h"

#include <QString>

// Where a just-inserted text sits in another application's field, found right after the paste.
struct DictationAnchor {
    AccessibleElement element;
    int location = 0;  // UTF-16 offset of the inserted text's start
    QString following; // up to `followingLength` units of the field's text after it; empty when none

    static constexpr int followingLength = 24;
};
