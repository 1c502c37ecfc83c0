#include "ui/kit/fold_away.h"

#include <QBoxLayout>
#include <QGraphicsOpacityEffect>
#include <QPointer>
#include <QSpacerItem>
#include <QWidget>

#include <cmath>

namespace {

const QString foldName = QStringLiteral("foldAway");

// The box layout that holds widget itself, searched down from layout, and the widget's place in it.
QBoxLayout* holderOf(QLayout* layout, const QWidget& widget, int& index)
{
    if (!layout)
        return nullptr;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == &widget) {
            index = i;
            return qobject_cast<QBoxLayout*>(layout);
        }
        if (QBoxLayout* inner = holderOf(item->layout(), widget, index))
            return inner;
    }
    return nullptr;
}

// Lives as the widget's child while it folds, so it goes with the widget whoever deletes it first.
// The widget leaves its layout at once for a gap of its height and the spacing it took, which
// closes as the widget fades; the widget rides along at the gap's place, cut off at its height.
class Fold final : public QObject {
public:
    Fold(QWidget& widget, Clock& clock)
        : QObject(&widget)
        , m_widget(widget)
        , m_fade(new QGraphicsOpacityEffect)
        , m_gone(clock, widget)
    {
        setObjectName(foldName);
        int index = -1;
        QWidget* parent = widget.parentWidget();
        m_box = holderOf(parent ? parent->layout() : nullptr, widget, index);
        m_height = widget.height();
        if (m_box) {
            bool alone = true;
            for (int i = 0; i < m_box->count(); ++i)
                alone = alone && (i == index || m_box->itemAt(i)->isEmpty());
            m_gap = m_height + (alone ? 0 : std::max(0, m_box->spacing()));
            m_spacer = new QSpacerItem(0, m_gap, QSizePolicy::Minimum, QSizePolicy::Fixed);
            delete m_box->takeAt(index);
            m_box->insertSpacerItem(index, m_spacer);
        }
        // The contents keep their places and are cut off as the widget folds.
        if (QLayout* own = widget.layout())
            own->setEnabled(false);
        widget.setAttribute(Qt::WA_TransparentForMouseEvents);
        widget.setGraphicsEffect(m_fade);
        m_gone.setOnFrame([this] { follow(); });
    }

    ~Fold() override { closeGap(); }

    Q_DISABLE_COPY_MOVE(Fold)

    void start(int durationMs, Tween::Curve curve) { m_gone.moveTo(1, durationMs, curve); }

private:
    void follow()
    {
        const double left = std::max(0.0, 1 - m_gone.value());
        if (m_gone.value() >= 1 && !m_gone.running()) {
            closeGap();
            m_widget.hide();
            // Later: the widget may be handling the very click that took it away.
            m_widget.deleteLater();
            return;
        }
        m_fade->setOpacity(left);
        m_widget.setFixedHeight(int(std::lround(m_height * left)));
        if (m_box && m_spacer) {
            // Where the layout last put the gap, once it has put it anywhere.
            if (m_spacer->geometry().width() > 0)
                m_widget.move(m_widget.x(), m_spacer->geometry().y());
            m_spacer->changeSize(0, int(std::lround(m_gap * left)), QSizePolicy::Minimum, QSizePolicy::Fixed);
            m_box->invalidate();
        }
    }

    void closeGap()
    {
        if (m_box && m_spacer) {
            m_box->removeItem(m_spacer);
            delete m_spacer;
        }
        m_spacer = nullptr;
    }

    QWidget& m_widget;
    QGraphicsOpacityEffect* m_fade;
    QPointer<QBoxLayout> m_box;
    QSpacerItem* m_spacer = nullptr;
    int m_height = 0;
    int m_gap = 0;
    Tween m_gone;
};

} // namespace

void FoldAway::start(QWidget& widget, Clock& clock, int durationMs, Tween::Curve curve)
{
    if (widget.findChild<QObject*>(foldName, Qt::FindDirectChildrenOnly))
        return;
    (new Fold(widget, clock))->start(durationMs, curve);
}
