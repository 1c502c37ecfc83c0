#pragma once

#include <QWidget>

class AppState;
class CorrectionSection;

// The settings page: every setting a user has, in sections.
class SettingsPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsPage)

public:
    explicit SettingsPage(AppState& state, QWidget* parent = nullptr);

    CorrectionSection* correction() const { return m_correction; }

private:
    AppState& m_state;
    CorrectionSection* m_correction;
};
