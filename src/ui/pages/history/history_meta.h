#pragma once

#include "ui/kit/kit_font.h"
#include "ui/kit/symbol.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

// The line of small facts under a history entry: texts and symbols in a row, in faint small type.
// Painted as one widget rather than a label per item, as a long history holds many of them.
class HistoryMeta final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryMeta)

public:
    // A symbol or a text.
    struct Item {
        std::optional<Symbol> symbol;
        QString text;

        friend bool operator==(const Item&, const Item&) = default;
    };

    static constexpr TextRole role = TextRole::Caption;
    // Symbols stand as high as the text.
    static constexpr double symbolSide = KitFont::face(role).points;
    static constexpr int spacing = 5;

    explicit HistoryMeta(QWidget* parent = nullptr);

    void setItems(const QList<Item>& items);
    const QList<Item>& items() const { return m_items; }
    // The texts joined by spaces, for assistive technology.
    QString spoken() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<Item> m_items;
    QList<double> m_widths; // measured once per change: layouts ask for the size hint often
    QSize m_hint;
};
