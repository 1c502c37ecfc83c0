#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QButtonGroup;
class QAbstractButton;

// A row of mutually exclusive segments on a faint capsule, the chosen one raised on the card fill.
// Each segment is a checkable button named by its label; the arrow keys move the choice. A value no segment
// carries leaves none chosen.
class SegmentedControl final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SegmentedControl)

public:
    struct Segment {
        QString value;
        QString label;
    };

    explicit SegmentedControl(const QList<Segment>& segments, QWidget* parent = nullptr);

    QString value() const;
    // Shows the value without telling anyone.
    void setValue(const QString& value);
    QAbstractButton* segment(int index) const;
    int count() const { return int(m_segments.size()); }

signals:
    // The user chose a segment other than the one shown.
    void chosen(const QString& value);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<Segment> m_segments;
    QButtonGroup* m_group;
    QString m_value;
};
