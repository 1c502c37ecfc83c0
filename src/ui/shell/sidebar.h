#pragma once

#include "core/model/main_section.h"

#include <QWidget>

class KitButton;

// The main window's list of pages on a flat fill (X11 has no translucent material): the mark and
// name at the top, then one entry per section with its symbol. Tab walks the entries.
class Sidebar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Sidebar)

public:
    static constexpr int fixedWidth = 216;

    explicit Sidebar(QWidget* parent = nullptr);

    void setCurrent(MainSection section);
    MainSection current() const { return m_current; }
    KitButton* entry(MainSection section) const;

signals:
    void chosen(MainSection section);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MainSection m_current = MainSection::Home;
    QList<KitButton*> m_entries;
};
