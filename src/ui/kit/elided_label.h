#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

// One line of text that shortens itself with an ellipsis at the chosen end when it does not fit.
// QLabel cannot elide, and a long transcript must keep its end visible.
class ElidedLabel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ElidedLabel)

public:
    ElidedLabel(const QString& text, Qt::TextElideMode mode, QWidget* parent = nullptr);

    // The whole text, also while it is drawn shortened.
    QString text() const { return m_text; }
    void setText(const QString& text);
    void setColor(const QColor& color);
    // The text as drawn at the current width.
    QString shownText() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    Qt::TextElideMode m_mode;
    QColor m_color = Qt::white;
};
