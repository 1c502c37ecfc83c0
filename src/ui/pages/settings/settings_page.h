#pragma once

#include <QWidget>

class AppState;
class OpenAIKeyStore;
class CorrectionSection;

// The settings page: every setting a user has, in sections.
class SettingsPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsPage)

public:
    // Without a key store the page shows no provider keys.
    SettingsPage(AppState& state, OpenAIKeyStore* keys, QWidget* parent = nullptr);

    CorrectionSection* correction() const { return m_correction; }

private:
    AppState& m_state;
    CorrectionSection* m_correction;
};
