#pragma once

#include <QScrollArea>

class QLabel;

// A card's long text: selectable, wrapped to the card's width, scrolling once it is taller than
// the size allows, with a thin bar in the card's own dark look.
class CardTextBody final : public QScrollArea {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardTextBody)

public:
    static constexpr int verticalPadding = 12;

    explicit CardTextBody(QWidget* parent = nullptr);

    // As high as the text needs, at most maxHeight, scrolling beyond it.
    void setText(const QString& text, int cardWidth, int maxHeight);
    // Exactly height high, for a card whose height was measured beforehand; only a text the
    // measure cut off scrolls.
    void setTextBlock(const QString& text, int cardWidth, int height, bool scrolls);
    QLabel* label() const { return m_label; }
    // Whether the text scrolls: its scroll bar is shown.
    bool scrolls() const;

private:
    QLabel* m_label;
};
