#pragma once

#include "core/model/correction_endpoint.h"

#include <QWidget>

#include <functional>

class LabelButton;
class AppState;
class OpenAIKeyStore;
class QLineEdit;
class SettingsRow;
class TextField;

// One endpoint's provider key: a masked field that stores what is typed into it in the Secret
// Service when editing ends, a button that removes the stored key, and a line that tells whether
// a key is stored. The key is never shown, kept by the field after it is stored, or written
// anywhere else; a key that cannot be stored or removed says so on the row, one that was shows the
// settings-saved notice as any other setting does. Enter in the empty field removes nothing: the
// button is the way to remove a key.
class ProviderKeyField final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProviderKeyField)

public:
    enum class Stored { Unknown, Yes, No };
    enum class Problem { None, Unread, Unsaved, Unremoved };

    ProviderKeyField(OpenAIKeyStore& keys, AppState& state, QWidget* parent = nullptr);

    // Shows the key of this endpoint; reads it again when the endpoint now uses another account.
    void setEndpoint(const CorrectionEndpoint& endpoint);
    // Shows the key of the user's speech server instead; it has no page to create one.
    void setSpeechServer();
    // Reads whether a key is stored, e.g. after a key of the same account was saved elsewhere.
    void reread();
    // The endpoint's number in the list, for assistive tools.
    void setNumber(int number);
    // Removes the stored key as "Remove key" does, without announcing it; `done` learns whether
    // it is gone. A failure shows on the row.
    void removeKey(const std::function<void(bool removed)>& done);

    Stored stored() const { return m_stored; }
    Problem problem() const { return m_problem; }
    QLineEdit* editor() const { return m_editor; }
    LabelButton* removeButton() const { return m_remove; }
    SettingsRow* row() const { return m_row; }

signals:
    // The key now stored for the endpoint, "" after a removal; its models may be looked up again.
    void keyChanged(const QString& key);

protected:
    void changeEvent(QEvent* event) override;

private:
    void useAccount(const QString& account);
    void store();
    void remove();
    // Shows the outcome of storing `key` ("" for a removal); returns ok.
    bool answered(bool ok, const QString& key);
    void setProblem(Problem problem);
    void refresh();

    OpenAIKeyStore& m_keys;
    AppState& m_state;
    CorrectionEndpoint m_endpoint;
    bool m_speech = false;
    QString m_account;
    TextField* m_field;
    QLineEdit* m_editor;
    LabelButton* m_remove;
    SettingsRow* m_row = nullptr;
    Stored m_stored = Stored::Unknown;
    Problem m_problem = Problem::None;
};
