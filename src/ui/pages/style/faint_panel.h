#pragma once

#include <QWidget>

// A rounded field of the text colour at 4 %, behind the card examples and the instructions; with a
// hairline border where it frames an editor.
class FaintPanel final : public QWidget {
public:
    FaintPanel(double radius, bool bordered, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_radius;
    bool m_bordered;
};
