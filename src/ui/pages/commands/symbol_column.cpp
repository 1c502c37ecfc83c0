#include "ui/pages/commands/symbol_column.h"

#include "ui/kit/kit_label.h"
#include "ui/kit/scheme.h"
#include "ui/kit/scheme_symbol.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

SymbolColumn::SymbolColumn(Symbol symbol, KitLabel* title, KitLabel* detail)
    : row(new QHBoxLayout)
    , column(new QVBoxLayout)
{
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    const auto ink = [](const QPalette& p) { return Scheme::text(p, Scheme::Text::Primary); };
    row->addWidget(new SchemeSymbol(symbol, 16, ink), 0, Qt::AlignTop);
    column->setSpacing(3);
    column->addWidget(title);
    column->addWidget(detail->wrapping());
    row->addLayout(column, 1);
}
