#pragma once

#include <QProxyStyle>

class QWidget;

// The kit's scroll bar: a thin capsule in the text colour on no track and without arrow buttons,
// darker under the pointer. Everything else is the application's style. Set on scroll bars only.
class ThinScrollStyle final : public QProxyStyle {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ThinScrollStyle)

public:
    // A bar that lies over its view's content, taking no room from it, or one beside it.
    enum class Place { Over, Beside };

    static constexpr int extent = 12;
    static constexpr int thumb = 6;
    static constexpr int thumbHover = 8;
    static constexpr int thumbMin = 32;

    ThinScrollStyle(Place place, QObject* parent);

    // Gives every scroll bar under root this style (the bars of root itself too, when it is a view).
    void apply(QWidget& root);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;

private:
    const Place m_place;
};
