#pragma once

#include <QScrollArea>

class QLabel;

// A card's long text: selectable, wrapped to the card's width, scrolling once it is taller than
// the size allows.
class CardTextBody final : public QScrollArea {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardTextBody)

public:
    static constexpr int verticalPadding = 12;

    explicit CardTextBody(QWidget* parent = nullptr);

    // As high as the text needs, at most maxHeight.
    void setText(const QString& text, int cardWidth, int maxHeight);
    // Exactly height high, for a card whose height was measured beforehand.
    void setTextBlock(const QString& text, int cardWidth, int height);
    QLabel* label() const { return m_label; }
    // Whether the text is taller than the shown area.
    bool scrolls() const;

private:
    QLabel* m_label;
};
