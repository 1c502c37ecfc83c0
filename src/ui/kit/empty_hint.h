#pragma once

#include "ui/kit/symbol.h"

#include <QWidget>

// What a list shows when it has nothing to show: a gradient symbol, a title and an explanation
// in centred lines, across the whole width.
class EmptyHint final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EmptyHint)

public:
    EmptyHint(Symbol icon, const QString& title, const QString& text, QWidget* parent = nullptr);
};
