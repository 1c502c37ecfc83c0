#pragma once

#include <QComboBox>

// A menu of choices closed as the kit's quiet button: the chosen entry in medium text and a
// chevron on a faint capsule, beside kit buttons without a system-drawn box among them. Wide enough
// for its longest entry, so a choice never shifts what stands beside it; the list it opens is the
// combo box's own.
class SoftPicker final : public QComboBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SoftPicker)

public:
    explicit SoftPicker(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Takes the focus and scrolls into sight first, so the list opens beside the picker even when
    // an assistive tool opens it out of view.
    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_keyboardFocus = false;
};
