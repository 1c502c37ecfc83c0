#pragma once

#include "core/base/clock.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

// The small panel an update shows while the old program is replaced: it stays until the process
// that started it is gone, and never longer than ten minutes.
class UpdateProgressHud final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UpdateProgressHud)

public:
    using ProcessAlive = std::function<bool(qint32 pid)>;

    static constexpr int kParentPollMs = 1000;
    static constexpr int kLongestMs = 600'000;

    UpdateProgressHud(Clock& clock, QString version, std::optional<qint32> parentPid,
                      ProcessAlive alive = processAlive, QObject* parent = nullptr);
    ~UpdateProgressHud() override;

    static bool processAlive(qint32 pid);
    // Shows the panel in its own event loop and returns once it has ended.
    static int runStandalone(const QString& version, std::optional<qint32> parentPid);

    void start();
    QWidget* panel() const { return m_panel.get(); }

signals:
    void finished();

private:
    void finish();

    Clock& m_clock;
    QString m_version;
    std::optional<qint32> m_parentPid;
    ProcessAlive m_alive;
    std::unique_ptr<QWidget> m_panel;
    Clock::Timer m_poll;
    Clock::Timer m_deadline;
    bool m_finished = false;
};
