#include "ui/kit/kit_accessible.h"

#include "ui/kit/kit_button.h"
#include "ui/kit/soft_picker.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QButtonGroup>

namespace {

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

class ButtonAccessible final : public QAccessibleWidget {
public:
    explicit ButtonAccessible(KitButton* button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QAccessible::Role role() const override
    {
        if (!button()->isCheckable())
            return QAccessible::Button;
        const QButtonGroup* group = button()->group();
        return button()->autoExclusive() || (group && group->exclusive()) ? QAccessible::RadioButton
                                                                          : QAccessible::CheckBox;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = button()->isCheckable();
        state.checked = button()->isChecked();
        state.pressed = button()->isDown();
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString name = QAccessibleWidget::text(t);
            return name.isEmpty() ? withoutMnemonic(button()->text()) : name;
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (button()->isEnabled())
            names << (button()->isCheckable() ? toggleAction() : pressAction());
        return names << QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (!button()->isEnabled())
            return;
        if (name == pressAction() || name == toggleAction())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    KitButton* button() const { return static_cast<KitButton*>(widget()); }
};

class PickerAccessible final : public QAccessibleWidget {
public:
    explicit PickerAccessible(SoftPicker* picker)
        : QAccessibleWidget(picker, QAccessible::ComboBox)
    {
    }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(picker()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == picker()->view() ? 0 : -1;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = picker()->view()->isVisible();
        return state;
    }

    // Its own name where it has one (the popover's pickers stand beside no label), else the choice.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value || (t == QAccessible::Name && picker()->accessibleName().isEmpty()))
            return picker()->currentText();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        QStringList names{showMenuAction(), pressAction()};
        return names << QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (!picker()->isEnabled())
            return;
        if (name == showMenuAction() || name == pressAction()) {
            if (picker()->view()->isVisible())
                picker()->hidePopup();
            else
                picker()->showPopup();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

private:
    SoftPicker* picker() const { return static_cast<SoftPicker*>(widget()); }
};

QAccessibleInterface* kitFactory(const QString&, QObject* object)
{
    if (auto* button = qobject_cast<KitButton*>(object))
        return new ButtonAccessible(button);
    if (auto* picker = qobject_cast<SoftPicker*>(object))
        return new PickerAccessible(picker);
    return nullptr;
}

} // namespace

void KitAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(kitFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
