#pragma once

#include <QWidget>

// A keyboard key's label: rounded semibold text on a faint key with a sharp lower edge. On a dark
// or coloured surface the key is white-tinted.
class KeyCap final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyCap)

public:
    struct Look {
        QColor fill;
        QColor border;
        QColor shadow;
    };

    KeyCap(const QString& label, bool onDark, QWidget* parent = nullptr);

    QString label() const { return m_label; }
    // The key's colours in this widget's scheme.
    Look look() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_label;
    bool m_onDark;
};
