#include "ui/pages/settings/settings_binder.h"

#include "ui/kit/segmented_control.h"
#include "ui/kit/toggle_switch.h"

#include <memory>

SettingsBinder::SettingsBinder(AppState& state, QObject* parent)
    : QObject(parent)
    , m_state(state)
{
}

void SettingsBinder::follow(QObject* context, const std::function<void()>& show)
{
    // One function for the first showing and every later one, so what it remembers carries over.
    auto shared = std::make_shared<std::function<void()>>(show);
    connect(&m_state, &AppState::configChanged, context, [shared] { (*shared)(); });
    (*shared)();
}

ToggleSwitch* SettingsBinder::toggle(bool QuendaConfig::*field)
{
    auto* button = new ToggleSwitch({});
    connect(button, &ToggleSwitch::toggled, this, [this, field](bool on) { write(field, on); });
    follow(button, [this, button, field] {
        const QSignalBlocker quiet(button);
        button->setChecked(m_state.config().*field);
    });
    return button;
}

SegmentedControl* SettingsBinder::makeSegments(const QList<std::pair<QString, QString>>& segments,
                                               std::function<void(const QString&)> chosen,
                                               std::function<QString()> current)
{
    QList<SegmentedControl::Segment> list;
    for (const auto& [value, label] : segments)
        list.append({value, label});
    auto* control = new SegmentedControl(list);
    connect(control, &SegmentedControl::chosen, this, std::move(chosen));
    follow(control, [control, current = std::move(current)] { control->setValue(current()); });
    return control;
}
