#pragma once

#include <QLineEdit>

// A one-line text field of the dictionary page: frameless text on a faint rounded fill, with the
// focus ring while it has the focus.
class EntryField final : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EntryField)

public:
    explicit EntryField(const QString& placeholder, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
