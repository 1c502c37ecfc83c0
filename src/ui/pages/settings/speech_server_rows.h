#pragma once

#include "core/model/speech_server.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class AppState;
class OpenAIKeyStore;
class ProviderKeyField;
class QLineEdit;
class SettingsBinder;
class SettingsRow;
class SoftButton;
class TextField;

// The user's own speech server: its address, which says that recordings go there and warns of
// plain http to another computer, the model, the key in the Secret Service and a check that sends
// the server a moment of silence. An address that is no http or https address is refused in place
// and nothing is saved. Each field writes the configuration once, when it is left.
class SpeechServerRows final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechServerRows)

public:
    // Without a key store the key row is left out.
    SpeechServerRows(SettingsBinder& binder, OpenAIKeyStore* keys, QWidget* parent = nullptr);

    SettingsRow* addressRow() const { return m_addressRow; }
    TextField* address() const { return m_address; }
    TextField* model() const { return m_model; }
    // Absent without a key store.
    ProviderKeyField* key() const { return m_key; }
    SettingsRow* checkRow() const { return m_checkRow; }
    SoftButton* checkButton() const { return m_check; }

private:
    void follow();
    void check();
    void checked(const SpeechCheck& answer);
    void forgetCheck();
    // Forgets a check on its way and its answer: they were about another server.
    void dropCheck();

    SettingsBinder& m_binder;
    AppState& m_state;
    TextField* m_address;
    SettingsRow* m_addressRow;
    TextField* m_model;
    ProviderKeyField* m_key = nullptr;
    SoftButton* m_check;
    SettingsRow* m_checkRow;
    // The stored server the rows show; another one drops the answer of a check.
    std::optional<SpeechServer> m_server;
    // The context of the check on its way; destroying it cancels the request.
    QPointer<QObject> m_checking;
};
