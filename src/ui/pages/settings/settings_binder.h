#pragma once

#include "core/state/app_state.h"
#include "ui/kit/soft_picker.h"

#include <QComboBox>
#include <QList>
#include <QObject>
#include <QSignalBlocker>

#include <functional>
#include <memory>

class SegmentedControl;
class ToggleSwitch;

// Binds the settings page's controls to the shared configuration: a control shows its field,
// follows changes made anywhere else, and writes the user's change as one configuration write,
// none when the value is already stored, so the save, the notice and the reactions run exactly as
// for any other writer.
class SettingsBinder final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsBinder)

public:
    template <typename T> struct Choice {
        T value;
        QString label;

        friend bool operator==(const Choice&, const Choice&) = default;
    };

    // Asked before a picked value is written: decide(true) writes it, decide(false) shows the stored
    // value again; at once, later or never.
    template <typename T>
    using Confirm = std::function<void(const T& value, const std::function<void(bool)>& decide)>;

    explicit SettingsBinder(AppState& state, QObject* parent = nullptr);

    AppState& state() const { return m_state; }

    template <typename T> void write(T QuendaConfig::*field, const T& value)
    {
        if (m_state.config().*field == value)
            return;
        QuendaConfig next = m_state.config();
        next.*field = value;
        m_state.setConfig(next);
    }

    // Runs show now and after every configuration change, for as long as context lives.
    void follow(QObject* context, const std::function<void()>& show);

    // A switch for a yes/no field.
    ToggleSwitch* toggle(bool QuendaConfig::*field);

    // A menu of the offered values. A stored value that is not among them is shown by its label
    // without becoming a choice, so the list stays the one offered.
    template <typename T>
    QComboBox* menu(T QuendaConfig::*field, const QList<Choice<T>>& choices,
                    const std::function<QString(const T&)>& label, const Confirm<T>& confirm = {})
    {
        return menu<T>(
            field, [choices](const QuendaConfig&) { return choices; }, label, confirm);
    }

    // The same, offering what `offered` gives for the configuration in force: the list is built
    // again whenever that changes.
    template <typename T>
    QComboBox* menu(T QuendaConfig::*field,
                    const std::function<QList<Choice<T>>(const QuendaConfig&)>& offered,
                    const std::function<QString(const T&)>& label, const Confirm<T>& confirm = {})
    {
        auto* box = new SoftPicker;
        auto choices = std::make_shared<QList<Choice<T>>>();
        const auto show = [this, box, field, choices, offered, label] {
            const QSignalBlocker quiet(box);
            const QList<Choice<T>> now = offered(m_state.config());
            if (now != *choices) {
                *choices = now;
                box->clear();
                for (const Choice<T>& choice : now)
                    box->addItem(choice.label);
            }
            const T& stored = m_state.config().*field;
            int at = -1;
            for (int i = 0; i < choices->size(); ++i) {
                if (choices->at(i).value == stored)
                    at = i;
            }
            box->setPlaceholderText(at < 0 ? label(stored) : QString());
            box->setCurrentIndex(at);
        };
        // activated, not currentIndexChanged: only the user's pick writes.
        connect(box, &QComboBox::activated, this, [this, field, choices, confirm, show](int index) {
            const T value = choices->at(index).value;
            if (!confirm)
                return write(field, value);
            confirm(value, [this, field, value, show](bool yes) {
                if (yes)
                    write(field, value);
                else
                    show();
            });
        });
        follow(box, show);
        return box;
    }

    // Segments for a text-backed choice; values are the stored texts.
    template <typename T>
    SegmentedControl* segments(T QuendaConfig::*field, const QList<Choice<T>>& choices,
                               const std::function<QString(const T&)>& text);

private:
    SegmentedControl* makeSegments(const QList<std::pair<QString, QString>>& segments,
                                   std::function<void(const QString&)> chosen,
                                   std::function<QString()> current);

    AppState& m_state;
};

template <typename T>
SegmentedControl* SettingsBinder::segments(T QuendaConfig::*field, const QList<Choice<T>>& choices,
                                           const std::function<QString(const T&)>& text)
{
    QList<std::pair<QString, QString>> shown;
    for (const Choice<T>& choice : choices)
        shown.append({text(choice.value), choice.label});
    return makeSegments(
        shown,
        [this, field, choices, text](const QString& chosen) {
            for (const Choice<T>& choice : choices) {
                if (text(choice.value) == chosen)
                    write(field, choice.value);
            }
        },
        [this, field, text] { return text(m_state.config().*field); });
}
