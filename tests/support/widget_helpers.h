#pragma once

#include "ui/kit/elided_label.h"
#include "ui/kit/theme.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QWidget>

// Turns animations on for one test; suites otherwise run with them off.
struct AnimationsOn {
    AnimationsOn() { Theme::setAnimated(true); }
    ~AnimationsOn() { Theme::setAnimated(false); }
    AnimationsOn(const AnimationsOn&) = delete;
    AnimationsOn& operator=(const AnimationsOn&) = delete;
};

// Lets posted layout requests and repaints run.
inline void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// The widget and its children painted into a transparent image, without any window background.
inline QImage renderTransparent(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// How many pixels of area have any paint.
inline int paintedPixels(const QImage& image, const QRect& area)
{
    int count = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    }
    return count;
}

// The texts of the visible labels under root, in layout order (left to right).
inline QStringList shownTexts(const QWidget& root)
{
    QList<std::pair<int, QString>> found;
    for (const QLabel* label : root.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&root))
            found.append({label->mapTo(&root, QPoint(0, 0)).x(), label->text()});
    }
    for (const ElidedLabel* label : root.findChildren<ElidedLabel*>()) {
        if (label->isVisibleTo(&root))
            found.append({label->mapTo(&root, QPoint(0, 0)).x(), label->text()});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList texts;
    for (const auto& [x, text] : found)
        texts << text;
    return texts;
}
