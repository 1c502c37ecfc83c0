#include "ui/kit/empty_hint.h"

#include "ui/kit/kit_label.h"
#include "ui/kit/symbol_view.h"
#include "ui/kit/theme.h"

#include <QVBoxLayout>

EmptyHint::EmptyHint(Symbol icon, const QString& title, const QString& text, QWidget* parent)
    : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 30, 0, 30);
    column->setSpacing(10);
    QLinearGradient brand = Theme::gradient(QRectF(0, 0, 1, 1));
    brand.setCoordinateMode(QGradient::ObjectBoundingMode);
    column->addWidget(new SymbolView(icon, 28, brand, this), 0, Qt::AlignHCenter);
    auto* heading = new KitLabel(title, TextRole::Heading, Scheme::Text::Primary, this);
    heading->setAlignment(Qt::AlignHCenter);
    column->addWidget(heading);
    auto* body = (new KitLabel(text, TextRole::Body, Scheme::Text::Secondary, this))->wrapping();
    body->setAlignment(Qt::AlignHCenter);
    column->addWidget(body);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}
