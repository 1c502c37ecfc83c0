#include "ui/binder/settings_binder.h"

#include "ui/kit/segmented_control.h"
#include "ui/kit/toggle_switch.h"

#include <QLineEdit>

#include <memory>

SettingsBinder::SettingsBinder(AppState& state, QObject* parent)
    : QObject(parent)
    , m_state(state)
{
}

void SettingsBinder::editConfig(const std::function<void(QuendaConfig&)>& change)
{
    QuendaConfig next = m_state.config();
    change(next);
    // The state compares too; comparing here keeps a no-op from being a write at all.
    if (next == m_state.config())
        return;
    m_state.setConfig(next);
}

void SettingsBinder::follow(QObject* context, const std::function<void()>& show)
{
    // One function for the first showing and every later one, so what it remembers carries over.
    auto shared = std::make_shared<std::function<void()>>(show);
    connect(&m_state, &AppState::configChanged, context, [shared] { (*shared)(); });
    (*shared)();
}

ToggleSwitch* SettingsBinder::toggle(bool QuendaConfig::*field, const QString& name)
{
    auto* button = new ToggleSwitch(name);
    connect(button, &ToggleSwitch::toggled, this, [this, field](bool on) { write(field, on); });
    follow(button, [this, button, field] {
        const QSignalBlocker quiet(button);
        button->setChecked(m_state.config().*field);
    });
    return button;
}

void SettingsBinder::replaceText(QLineEdit* editor, const QString& text)
{
    if (editor->text() == text)
        return;
    const int caret = editor->cursorPosition();
    editor->setText(text);
    editor->setCursorPosition(caret);
}

SegmentedControl* SettingsBinder::makeSegments(const QStringList& labels, std::function<void(int)> chosen,
                                               std::function<int()> current)
{
    auto* control = new SegmentedControl(labels);
    connect(control, &SegmentedControl::chosen, this, std::move(chosen));
    follow(control, [control, current = std::move(current)] { control->setCurrent(current()); });
    return control;
}
