#pragma once

#include "ui/kit/keyed_rows.h"

#include <QList>
#include <QWidget>

#include <functional>

class AppCommands;
class AppState;
class EndpointRow;
class LabelButton;
class OpenAIKeyStore;
class QVBoxLayout;
class SegmentedControl;
class SettingsBinder;
class SettingsRow;
class SettingsSection;
class ToggleSwitch;

// The settings page's section on correction: polishing on or off, who polishes (the endpoints, or
// a model in a folder on this computer), the endpoints in the order they are tried with their
// keys and looked-up models, and whether a failing endpoint hands over to the next. Each control
// writes the configuration once per change and follows changes made anywhere else.
class CorrectionSection final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CorrectionSection)

public:
    // Asks for a folder, starting in `start`; "" when the user cancelled.
    using FolderPicker = std::function<QString(QWidget* parent, const QString& start)>;

    // Without a key store no key row is shown.
    CorrectionSection(SettingsBinder& binder, AppCommands& commands, OpenAIKeyStore* keys,
                      QWidget* parent = nullptr);

    // Replaces the folder dialog.
    void setFolderPicker(FolderPicker picker) { m_pickFolder = std::move(picker); }

    ToggleSwitch* polishing() const { return m_polishing; }
    SegmentedControl* provider() const { return m_provider; }
    SettingsRow* folderRow() const { return m_folderRow; }
    LabelButton* chooseFolder() const { return m_chooseFolder; }
    // In list order.
    const QList<EndpointRow*>& endpoints() const { return m_rows; }
    LabelButton* addEndpoint() const { return m_add; }
    ToggleSwitch* fallback() const { return m_fallback; }

private:
    void follow();
    void followEndpoints();
    void pickFolder();
    // Why the folder cannot serve as the local model, or nothing.
    void showFolderProblem(const QString& folder);
    void add();

    SettingsBinder& m_binder;
    AppState& m_state;
    AppCommands& m_commands;
    OpenAIKeyStore* m_keys;
    FolderPicker m_pickFolder;
    SettingsSection* m_section;
    ToggleSwitch* m_polishing;
    SegmentedControl* m_provider;
    SettingsRow* m_folderRow;
    LabelButton* m_chooseFolder;
    QWidget* m_list;
    QVBoxLayout* m_listRows;
    KeyedRows m_keyed;
    QList<EndpointRow*> m_rows;
    LabelButton* m_add;
    SettingsRow* m_fallbackRow;
    ToggleSwitch* m_fallback;
};
