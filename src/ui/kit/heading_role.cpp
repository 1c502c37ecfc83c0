#include "ui/kit/heading_role.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace {

const char* const marker = "quendaHeading";

class HeadingAccessible final : public QAccessibleWidget {
public:
    explicit HeadingAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Heading)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            if (const auto* label = qobject_cast<const QLabel*>(widget()))
                return label->text();
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* headingFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->property(marker).toBool())
        return new HeadingAccessible(widget);
    return nullptr;
}

} // namespace

void HeadingRole::mark(QWidget* label)
{
    static const bool installed = [] {
        QAccessible::installFactory(headingFactory);
        return true;
    }();
    Q_UNUSED(installed);
    label->setProperty(marker, true);
    // An interface made before the mark (a label announces its text as it is built) would keep
    // the plain text role; dropping it lets the next query make the heading.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(label);
        made && made->role() != QAccessible::Heading)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

bool HeadingRole::isMarked(const QWidget* widget)
{
    return widget->property(marker).toBool();
}
