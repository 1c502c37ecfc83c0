#pragma once

#include "ui/kit/kit_font.h"
#include "ui/kit/symbol.h"

#include <QWidget>

#include <optional>

class KitLabel;
class QHBoxLayout;
class QLineEdit;

// The kit's one-line text field: frameless text in a role of the type scale on a faint rounded fill
// and the focus ring while it is typed in (or neither, for a title that stands above its text), under
// it a line for the reason what was typed was refused. Assistive tools and the keyboard reach the
// editor inside (no focus proxy: Qt would reorder the Tab chain around a button in the field); the
// field's width is its host's to set, one per section.
class TextField final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TextField)

public:
    enum class Look { Filled, Plain };

    explicit TextField(const QString& placeholder = {}, TextRole role = TextRole::Body,
                       QWidget* parent = nullptr);
    // The same around an editor of the host's own, e.g. one that elides what it shows.
    TextField(QLineEdit* editor, TextRole role, Look look = Look::Filled, QWidget* parent = nullptr);

    QLineEdit* editor() const { return m_editor; }
    QString text() const;
    void setText(const QString& text);
    // Names the editor for assistive tools.
    void setName(const QString& name);
    // A symbol before the text, such as the search fields' magnifier.
    void setLeadingSymbol(Symbol symbol);
    // A widget inside the field after the text, such as a button that clears it.
    void addTrailing(QWidget* widget);
    // Shows why what was typed was refused, in the warning colour under the field; empty hides it.
    void setRefusal(const QString& reason);
    QString refusal() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeText();

    QLineEdit* m_editor;
    Look m_look;
    QHBoxLayout* m_line;
    KitLabel* m_refusal;
    std::optional<Symbol> m_symbol;
};
