#pragma once

#include <QWidget>

class IconButton;
class QLineEdit;
class TextField;

// The search box of the list pages: the kit's text field with a magnifier before the text and,
// while there is text, a button that clears it, 220 wide.
class SearchField final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchField)

public:
    static constexpr int fixedWidth = 220;

    explicit SearchField(const QString& placeholder, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit* editor() const;
    IconButton* clearButton() const { return m_clear; }

signals:
    void textChanged(const QString& text);

private:
    TextField* m_field;
    IconButton* m_clear;
};
