#pragma once

#include <QWidget>

class AppState;
class SettingsSection;

// The settings page's section on correction: polishing, its providers and their keys.
class CorrectionSection final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CorrectionSection)

public:
    explicit CorrectionSection(AppState& state, QWidget* parent = nullptr);

private:
    AppState& m_state;
    SettingsSection* m_section;
};
