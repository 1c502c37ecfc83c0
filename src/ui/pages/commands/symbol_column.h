#pragma once

#include "ui/kit/symbol.h"

class KitLabel;
class QHBoxLayout;
class QVBoxLayout;

// A row of the commands page: a symbol beside a column that starts with a title over a detail;
// the caller adds to the column and may end the row with a control.
struct SymbolColumn {
    QHBoxLayout* row;
    QVBoxLayout* column;

    SymbolColumn(Symbol symbol, KitLabel* title, KitLabel* detail);
};
