#pragma once

#include "ui/kit/symbol.h"

#include <QList>
#include <QString>

// One writing style as the style cards and the style pickers show it.
struct StyleOption {
    QString id; // stored in the configuration's style and in the application profiles
    QString title;
    Symbol icon;
    QString blurb;
    QString before; // an example of dictated text
    QString after;  // the same text in this style

    // The six styles in their fixed order, looked up anew at each call so the texts follow the
    // active language.
    static QList<StyleOption> all();
    // The title of the style with exactly this id; an id naming no style comes back unchanged.
    static QString titled(const QString& id);
};
