#pragma once

#include <QWidget>

class AppState;

// The first run's welcome: what the program does, the two permissions, and done.
class OnboardingView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OnboardingView)

public:
    explicit OnboardingView(AppState& state, QWidget* parent = nullptr);
};
