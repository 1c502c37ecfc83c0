#pragma once

#include <QMutex>
#include <QObject>
#include <QString>
#include <QThread>
#include <QWaitCondition>

#include <atomic>

// The org.a11y.Status object of an accessibility bus under a name of its own, served from a
// thread of its own so the test's main thread may block while the probe asks it.
class FakeAccessibilityBus final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeAccessibilityBus)
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Status")
    Q_PROPERTY(bool IsEnabled READ isEnabled)

public:
    FakeAccessibilityBus();
    ~FakeAccessibilityBus() override;

    QString service() const { return m_service; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    // While held, a read of IsEnabled waits until release().
    void hold();
    void release();

    bool isEnabled() const;

private:
    QString m_service;
    QThread m_thread;
    std::atomic<bool> m_enabled = false;
    mutable QMutex m_mutex;
    mutable QWaitCondition m_released;
    bool m_held = false;
};
