#pragma once

#include <QWidget>

class QVBoxLayout;

// The card look of the main window and its pages: the scheme's control fill in a rounded
// rectangle of radius 16 with a hairline border and a faint shadow. A card spans the width it is
// offered, its content at the leading edge.
class Card final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Card)

public:
    static constexpr double radius = 16;

    explicit Card(int padding, QWidget* parent = nullptr);

    QVBoxLayout* content() const { return m_content; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_content;
};
