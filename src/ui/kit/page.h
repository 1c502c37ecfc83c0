#pragma once

#include <QScrollArea>

class KitLabel;
class QHBoxLayout;
class QVBoxLayout;
class ThinScrollStyle;

// The frame of every page of the main window: a vertical scroll view whose column holds the
// header (a large title, a subtitle and an optional accessory at its right) and the content.
// The column, paddings included, is at most 900 wide and centred in wider windows. When the
// width runs short the title column gives way before the accessory. The column draws its cards'
// shadows, and every scroll bar on the page is the kit's thin one; the page's own lies over the
// column's margin, so the column never moves when it comes or goes.
class Page final : public QScrollArea {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Page)

public:
    static constexpr int maxColumn = 900;
    static constexpr QMargins padding{40, 52, 40, 40};
    static constexpr int spacing = 22;

    Page(const QString& title, const QString& subtitle, QWidget* parent = nullptr);

    // Placed at the right of the title, keeping its own width.
    void setAccessory(QWidget* accessory);
    // The room above the title: padding.top(), less where something above the page (a banner)
    // already sets it apart from the window's edge.
    void setTopPadding(int top);
    // Where the page puts its content, below the header.
    QVBoxLayout* content() const { return m_content; }
    // The column in the page's viewport coordinates.
    QRect column() const;
    KitLabel* titleLabel() const { return m_title; }

signals:
    // The view stands within a screen of its end, after a scroll or a change of the content's
    // height: a page that makes its rows a chunk at a time makes the next one here.
    void nearEnd();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    ThinScrollStyle* m_innerBars;
    QWidget* m_column;
    QHBoxLayout* m_header;
    QVBoxLayout* m_content;
    KitLabel* m_title;
};
