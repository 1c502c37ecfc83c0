#pragma once

#include "ui/kit/kit_button.h"

// One note in the notes page's list: its title on one line and how long ago it changed, on a
// violet tint while it is the open note. Up and Down ask the list for the neighbour.
class NoteRow final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoteRow)

public:
    explicit NoteRow(QWidget* parent = nullptr);

    void set(const QString& title, const QString& time, bool selected);
    QString time() const { return m_time; }
    bool isSelected() const { return m_selected; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void step(int by);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_time;
    bool m_selected = false;
};
