#pragma once

#include <QWidget>

// The settings page: the hotkey, the engine and correction. Until they are built it names its purpose.
class SettingsPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsPage)

public:
    explicit SettingsPage(QWidget* parent = nullptr);
};
