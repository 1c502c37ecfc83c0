#pragma once

#include "widget_helpers.h"

#include "core/state/state_fixture.h"
#include "core/text/l10n.h"
#include "ui/kit/segmented_control.h"
#include "ui/kit/text_field.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/settings/settings_page.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

// The settings page over the real shared state, found and driven the way assistive tools see it:
// each control by the name they read.
class SettingsFixture : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        makeState();
    }
    void TearDown() override
    {
        m_page.reset();
        StateFixture::TearDown();
    }

    SettingsPage& page(AccessibilityRepair* repair = nullptr)
    {
        if (!m_page) {
            m_page = std::make_unique<SettingsPage>(state(), repair);
            m_page->resize(1000, 700);
            m_page->show();
            settle();
        }
        return *m_page;
    }

    // The control named by the text under key; fails the test when there is not exactly one.
    QWidget* control(const char* key)
    {
        const QString name = L10n::s(key);
        QList<QWidget*> found;
        for (QWidget* widget : page().findChildren<QWidget*>()) {
            const bool isControl =
                qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
                qobject_cast<SegmentedControl*>(widget) || qobject_cast<QLineEdit*>(widget);
            if (isControl && readName(widget) == name)
                found.append(widget);
        }
        EXPECT_EQ(found.size(), 1) << key;
        return found.value(0);
    }

    // The name a screen reader gives the control: its own, else the label it is the buddy of.
    static QString readName(QWidget* widget)
    {
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(widget);
        for (const auto& [label, relation] : seen->relations(QAccessible::Label))
            return label->text(QAccessible::Name);
        return seen->text(QAccessible::Name);
    }

    // What the control shows: on/off, the menu's text, the chosen segment, the field's text.
    static QString shown(QWidget* widget)
    {
        if (auto* field = qobject_cast<TextField*>(widget))
            widget = field->editor();
        if (auto* toggle = qobject_cast<ToggleSwitch*>(widget))
            return toggle->isChecked() ? s("on") : s("off");
        if (auto* menu = qobject_cast<QComboBox*>(widget))
            return menu->currentIndex() < 0 ? menu->placeholderText() : menu->currentText();
        if (auto* segments = qobject_cast<SegmentedControl*>(widget)) {
            for (int i = 0; i < segments->count(); ++i) {
                if (segments->segment(i)->isChecked())
                    return segments->segment(i)->text();
            }
            return {};
        }
        if (auto* field = qobject_cast<QLineEdit*>(widget))
            return field->text();
        return {};
    }

    // The user's act: a switch flips, a menu item or segment is picked by its text, a field is
    // typed into and left.
    static void act(QWidget* widget, const QString& pick)
    {
        if (auto* field = qobject_cast<TextField*>(widget))
            widget = field->editor();
        if (auto* toggle = qobject_cast<ToggleSwitch*>(widget))
            return toggle->click();
        if (auto* menu = qobject_cast<QComboBox*>(widget)) {
            const int at = menu->findText(pick);
            ASSERT_GE(at, 0) << pick.toStdString();
            menu->setCurrentIndex(at);
            emit menu->activated(at);
            return;
        }
        if (auto* segments = qobject_cast<SegmentedControl*>(widget)) {
            for (int i = 0; i < segments->count(); ++i) {
                if (segments->segment(i)->text() == pick)
                    return segments->segment(i)->click();
            }
            FAIL() << "no segment " << pick.toStdString();
        }
        if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            field->setText(pick);
            emit field->editingFinished();
            return;
        }
        FAIL() << "no control to act on";
    }

    std::unique_ptr<SettingsPage> m_page;
};
