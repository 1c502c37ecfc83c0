#pragma once

#include "ui/kit/symbol.h"

#include <QWidget>

class Card;
class KitLabel;
class QVBoxLayout;

// One section of the settings page: a kit card opened by its heading (a symbol and a title, a
// heading to assistive tools), its rows below one another.
class SettingsSection final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsSection)

public:
    SettingsSection(Symbol symbol, const QString& title, QWidget* parent = nullptr);

    // Adds a row, or any widget, at the end of the card.
    void addRow(QWidget* row);
    QVBoxLayout* rows() const { return m_rows; }
    KitLabel* heading() const { return m_heading; }

private:
    Card* m_card;
    KitLabel* m_heading;
    QVBoxLayout* m_rows;
};
