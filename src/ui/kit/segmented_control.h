#pragma once

#include <QString>
#include <QWidget>

class QButtonGroup;
class QAbstractButton;

// A row of mutually exclusive segments on a faint capsule, the chosen one raised on the card fill.
// Each segment is a checkable button named by its label; the arrow keys move the choice. Segments are
// known by their place, so the caller keeps the values they stand for; -1 chooses none.
class SegmentedControl final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SegmentedControl)

public:
    explicit SegmentedControl(const QStringList& labels, QWidget* parent = nullptr);

    int current() const { return m_current; }
    // Shows the segment chosen without telling anyone.
    void setCurrent(int index);
    QAbstractButton* segment(int index) const;
    int count() const;

signals:
    // The user chose a segment other than the one shown.
    void chosen(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QButtonGroup* m_group;
    int m_current = -1;
};
