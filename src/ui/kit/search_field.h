#pragma once

#include <QWidget>

class IconButton;
class QLineEdit;

// The search box of the list pages: a magnifier, the text and, while there is text, a button
// that clears it, on a faint capsule 220 wide.
class SearchField final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchField)

public:
    static constexpr int fixedWidth = 220;

    explicit SearchField(const QString& placeholder, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit* editor() const { return m_editor; }
    IconButton* clearButton() const { return m_clear; }

signals:
    void textChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* m_editor;
    IconButton* m_clear;
};
