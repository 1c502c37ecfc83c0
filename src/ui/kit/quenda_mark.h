#pragma once

#include <QWidget>

// The logo: a white waveform on the brand gradient in a rounded square, with a violet glow.
// Every measure scales with the side length.
class QuendaMark final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuendaMark)

public:
    explicit QuendaMark(double size, QWidget* parent = nullptr);

    double size() const { return m_size; }
    double cornerRadius() const { return 0.28 * m_size; }
    double glyphSize() const { return 0.48 * m_size; }
    double shadowRadius() const { return 0.18 * m_size; }
    double shadowOffset() const { return 0.06 * m_size; }
    // The square inside the widget; the rest is room for the glow.
    QRectF square() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_size;
};
