#pragma once

#include "core/base/result.h"
#include "core/state/app_state.h"
#include "ui/kit/soft_picker.h"
#include "ui/kit/text_field.h"

#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QSignalBlocker>

#include <functional>
#include <memory>
#include <optional>

class SegmentedControl;
class ToggleSwitch;

// The one way a view writes the configuration: a control bound to a field shows it, follows changes
// made anywhere else, and writes the user's change as one configuration write, none when the value
// is already stored, so the save, the notice and the reactions run exactly as for any other writer.
class SettingsBinder final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsBinder)

public:
    template <typename T> struct Choice {
        T value;
        QString label;

        friend bool operator==(const Choice&, const Choice&) = default;
    };
    // Why a typed text cannot be stored, in the words shown to the user.
    struct Refusal {
        QString reason;
    };
    // What a typed text stands for, or why it cannot be stored.
    template <typename T> using Parse = std::function<Result<T, Refusal>(const QString&)>;
    template <typename T> using Show = std::function<QString(const T&)>;

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

    // Changes the configuration in one write, none when change leaves it as it was: for a list
    // edited in place or fields that change together.
    void editConfig(const std::function<void(QuendaConfig&)>& change);

    // Runs show now and after every configuration change, for as long as context lives.
    void follow(QObject* context, const std::function<void()>& show);

    // A switch for a yes/no field, named for assistive tools where no row names it.
    ToggleSwitch* toggle(bool QuendaConfig::*field, const QString& name = {});

    // A menu of the offered values. A stored value that is not among them is shown by its label
    // without becoming a choice, so the list stays the one offered.
    template <typename T>
    SoftPicker* menu(T QuendaConfig::*field, const QList<Choice<T>>& choices, const Show<T>& label)
    {
        return menu<T>(
            field, [choices](const QuendaConfig&) { return choices; }, label);
    }

    // The same, offering what `offered` gives for the configuration in force: the list is built
    // again whenever that changes.
    template <typename T>
    SoftPicker* menu(T QuendaConfig::*field,
                     const std::function<QList<Choice<T>>(const QuendaConfig&)>& offered,
                     const Show<T>& label);

    // Segments for a field of a few values; a stored value no segment carries leaves none chosen.
    template <typename T> SegmentedControl* segments(T QuendaConfig::*field, const QList<Choice<T>>& choices);

    // Binds a text field: when editing finishes the text is parsed, a value is written (the field
    // then shows it as stored) and a reason is shown on the field's refusal line, nothing written.
    // The text is replaced, the caret kept, only when the stored value itself changed: a change of
    // any other setting never takes away what is being typed.
    template <typename T>
    TextField* text(TextField* edit, T QuendaConfig::*field, const Parse<T>& parse, const Show<T>& show)
    {
        return text<T>(
            edit, [field](const QuendaConfig& c) { return std::optional<T>(c.*field); },
            [field](QuendaConfig& c, const T& value) { c.*field = value; }, parse, show);
    }

    // The same for a value kept elsewhere than in a field of its own, such as in an entry of a
    // list: read finds it (nothing while there is none), store puts it in place.
    template <typename T>
    TextField* text(TextField* edit, const std::function<std::optional<T>(const QuendaConfig&)>& read,
                    const std::function<void(QuendaConfig&, const T&)>& store, const Parse<T>& parse,
                    const Show<T>& show);

private:
    // Sets an editor's text without moving the caret of someone typing in it.
    static void replaceText(QLineEdit* editor, const QString& text);
    SegmentedControl* makeSegments(const QStringList& labels, std::function<void(int)> chosen,
                                   std::function<int()> current);

    AppState& m_state;
};

template <typename T>
SoftPicker* SettingsBinder::menu(T QuendaConfig::*field,
                                 const std::function<QList<Choice<T>>(const QuendaConfig&)>& offered,
                                 const Show<T>& label)
{
    auto* box = new SoftPicker;
    auto choices = std::make_shared<QList<Choice<T>>>();
    // activated, not currentIndexChanged: only the user's pick writes.
    connect(box, &QComboBox::activated, this,
            [this, field, choices](int index) { write(field, choices->at(index).value); });
    follow(box, [this, box, field, choices, offered, label] {
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
    });
    return box;
}

template <typename T>
SegmentedControl* SettingsBinder::segments(T QuendaConfig::*field, const QList<Choice<T>>& choices)
{
    QStringList labels;
    for (const Choice<T>& choice : choices)
        labels.append(choice.label);
    return makeSegments(
        labels, [this, field, choices](int index) { write(field, choices.at(index).value); },
        [this, field, choices] {
            for (int i = 0; i < choices.size(); ++i) {
                if (choices.at(i).value == m_state.config().*field)
                    return i;
            }
            return -1;
        });
}

template <typename T>
TextField* SettingsBinder::text(TextField* edit,
                                const std::function<std::optional<T>(const QuendaConfig&)>& read,
                                const std::function<void(QuendaConfig&, const T&)>& store,
                                const Parse<T>& parse, const Show<T>& show)
{
    QLineEdit* editor = edit->editor();
    connect(editor, &QLineEdit::editingFinished, edit, [this, edit, editor, read, store, parse, show] {
        const Result<T, Refusal> typed = parse(editor->text());
        if (!typed.ok()) {
            edit->setRefusal(typed.error().reason);
            return;
        }
        edit->setRefusal({});
        editConfig([&](QuendaConfig& c) { store(c, typed.value()); });
        if (const std::optional<T> stored = read(m_state.config()))
            replaceText(editor, show(*stored));
    });
    follow(edit, [this, edit, editor, read, show, shown = std::optional<T>()]() mutable {
        const std::optional<T> stored = read(m_state.config());
        if (!stored || stored == shown)
            return;
        shown = stored;
        replaceText(editor, show(*stored));
        edit->setRefusal({});
    });
    return edit;
}
