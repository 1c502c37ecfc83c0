#pragma once

#include <QWidget>

class KitLabel;
class QBoxLayout;

// One setting: its title and an optional explaining line, the control beside them at the trailing
// edge (or below them, for wide controls such as text fields), and under it a line for the reason a
// value was refused or could not be kept. The control (a text field's editor) takes the title as its
// accessible name and the explanation as its accessible description. A row without a control only
// informs.
class SettingsRow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsRow)

public:
    enum class Place { Trailing, Below };
    // Every text field of the page is this wide, so the fields of a section share their left edge.
    static constexpr int fieldWidth = 320;

    SettingsRow(const QString& title, QWidget* control, const QString& detail = {},
                Place place = Place::Trailing, QWidget* parent = nullptr);

    // Absent for a row that only informs.
    QWidget* control() const { return m_control; }
    KitLabel* title() const { return m_title; }
    // Absent when the row has no explanation.
    KitLabel* detail() const { return m_detail; }
    // Places a widget just before the control, e.g. a picture of the value it holds.
    void addBeforeControl(QWidget* widget);
    // Shows why the value was refused or not kept, in the warning colour; empty hides it.
    void setProblem(const QString& text);
    QString problemText() const;
    KitLabel* problem() const { return m_problem; }

private:
    QWidget* m_control;
    KitLabel* m_title;
    KitLabel* m_detail = nullptr;
    KitLabel* m_problem;
    QBoxLayout* m_controlLine = nullptr;
};
