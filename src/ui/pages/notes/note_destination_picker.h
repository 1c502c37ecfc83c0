#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class AppState;
class KitLabel;
class QComboBox;
class SettingsBinder;

// Where text saved by a spoken note command goes: the own notes or a folder of the Notes
// application, the configuration's noteDestination. Lists the folders when it needs them and
// shows how that went; without a Notes application it offers and shows the own notes only, and
// says why.
class NoteDestinationPicker final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoteDestinationPicker)

public:
    struct Entry {
        QString text;
        QString tag;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    // The entry that starts a listing; a command, never stored.
    static QString pickTag();
    // The menu: the own notes and, with a Notes application, the folders (the stored one always
    // among them) and the entry that lists the folders.
    static QList<Entry> entries(const AppState& state);
    // The line under the hint, empty for none.
    static QString status(const AppState& state);

    explicit NoteDestinationPicker(AppState& state, QWidget* parent = nullptr);

    QComboBox* menu() const { return m_menu; }
    KitLabel* statusLabel() const { return m_status; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void choose(int index);

    AppState& m_state;
    SettingsBinder* m_binder;
    QComboBox* m_menu;
    KitLabel* m_status;
};
