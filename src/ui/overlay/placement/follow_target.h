#pragma once

#include <QPointF>
#include <QtGlobal>

#include <optional>

// The display the widget follows while active, and the anchor a shown result keeps on it.
struct FollowTarget {
    std::optional<quint32> displayID{};
    // Bottom centre the result stays at; absent while a dictation follows the pointer.
    std::optional<QPointF> anchor{};

    friend bool operator==(const FollowTarget&, const FollowTarget&) = default;
};
