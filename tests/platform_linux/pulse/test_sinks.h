#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// Null sinks of the test PulseAudio server, loaded with pactl and unloaded again when this goes,
// and each sink's state as pactl sees it, so the backend is checked by a reader not its own.
class TestSinks final {
public:
    struct State {
        bool muted = false;
        QMap<QString, quint32> channels; // raw volume per channel name; 65536 is normal
    };

    // Names start with "quenda_t<pid>_" plus tag, apart from any other run's sinks.
    explicit TestSinks(const QString& tag);
    ~TestSinks();
    TestSinks(const TestSinks&) = delete;
    TestSinks& operator=(const TestSinks&) = delete;

    QString prefix() const { return m_prefix; }
    // A stereo null sink named prefix + suffix; empty when pactl failed.
    QString add(const QString& suffix);

    static std::optional<State> state(const QString& sink);
    // Runs pactl; its output when it exits with 0.
    static std::optional<QByteArray> pactl(const QStringList& arguments);
    // The private PulseAudio server of scripts/with-services answers pactl.
    static bool privateServerRunning();

private:
    QString m_prefix;
    QStringList m_modules;
};
