#pragma once

#include "ui/kit/tween.h"

#include <QWidget>

#include <functional>

class AppState;

// The "saved" capsule at the bottom centre of its host window, or of the part of it the host names,
// while the state's settings-saved flag is up (a real save; the state lowers it 1.7 s after the last
// change). It comes up from the bottom edge and fades in, and leaves the same way. It never takes a
// click: clicks go to what lies below.
class SettingsSavedToast final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsSavedToast)

public:
    static constexpr int bottomGap = 22;
    // Around the capsule, for its shadow.
    static constexpr QMargins shadowRoom{14, 10, 14, 20};

    // The stretch of the host, in its coordinates, whose bottom centre the toast takes.
    using Lane = std::function<QRect()>;

    // A child floating over host's content; it places itself as host resizes. Without a lane, the
    // whole host.
    SettingsSavedToast(AppState& state, QWidget* host, Lane lane = {});

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();
    void place();

    AppState& m_state;
    Lane m_lane;
    // 0 hidden below the bottom edge, 1 in place; moved on the state's clock.
    Tween m_shown;
};
