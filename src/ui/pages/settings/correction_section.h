#pragma once

#include "ui/kit/keyed_rows.h"

#include <QList>
#include <QWidget>

class AppCommands;
class AppState;
class EndpointRow;
class OpenAIKeyStore;
class QVBoxLayout;
class SettingsBinder;
class SettingsRow;
class SettingsSection;
class LabelButton;
class ToggleSwitch;

// The settings page's section on correction: polishing on or off, the endpoints in the order they
// are tried with their keys and looked-up models, and whether a failing endpoint hands over to the
// next. Polishing runs through the endpoints only: a local model offers no way to run here. Each
// control writes the configuration once per change and follows changes made anywhere else.
class CorrectionSection final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CorrectionSection)

public:
    // Without a key store no key row is shown.
    CorrectionSection(SettingsBinder& binder, AppCommands& commands, OpenAIKeyStore* keys,
                      QWidget* parent = nullptr);

    ToggleSwitch* polishing() const { return m_polishing; }
    // In list order.
    const QList<EndpointRow*>& endpoints() const { return m_rows; }
    LabelButton* addEndpoint() const { return m_add; }
    ToggleSwitch* fallback() const { return m_fallback; }

private:
    void followEndpoints();
    void add();

    SettingsBinder& m_binder;
    AppState& m_state;
    AppCommands& m_commands;
    OpenAIKeyStore* m_keys;
    SettingsSection* m_section;
    ToggleSwitch* m_polishing;
    QWidget* m_list;
    QVBoxLayout* m_listRows;
    KeyedRows m_keyed;
    QList<EndpointRow*> m_rows;
    LabelButton* m_add;
    ToggleSwitch* m_fallback;
};
