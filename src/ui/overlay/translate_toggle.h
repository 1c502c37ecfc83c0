#pragma once

#include <QAbstractButton>

// The idle toolbar's translate button: a book and a chevron that points to where the menu is.
class TranslateToggle final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TranslateToggle)

public:
    static constexpr int height = 26;

    explicit TranslateToggle(QWidget* parent = nullptr);

    void setOpen(bool open);
    bool open() const { return m_open; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_open = false;
};
