#pragma once

#include <QColor>
#include <QList>
#include <QRectF>
#include <QtPlugin>

// A soft shadow under a rounded rectangle of any size.
struct ShadowLook {
    // The shape's corner radius.
    double corner;
    // The blur radius: the shadow fades out about one and a half radii past the shape.
    double blur;
    // How far the shadow sits below the shape.
    double offsetY;
    // Its opacity is the shadow's at its darkest.
    QColor colour;
};

// A widget whose shadow reaches past its own rectangle, where the widget itself may not paint:
// the CardShadows of a widget behind it draws the shadow there, beneath it.
class ShadowCaster {
public:
    struct Cast {
        // In the caster's coordinates.
        QRectF shape;
        ShadowLook look;
    };

    virtual ~ShadowCaster() = default;
    // The shadows it casts now, the lowest first.
    virtual QList<Cast> shadows() const = 0;
};

Q_DECLARE_INTERFACE(ShadowCaster, "de.morvane.quenda.ShadowCaster")
