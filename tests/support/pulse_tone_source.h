#pragma once

#include "test_audio.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

// pactl's exit code and output; nothing when pactl could not be run at all.
inline std::optional<std::pair<int, QString>> pactl(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    if (!process.waitForFinished(5000) || process.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return std::pair{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()).trimmed()};
}

// A PulseAudio source of our own as the default microphone, fed with a sine in 10 ms periods like a
// sound card, for the backend test and benchmark. Qt offers no null-sink monitor as a microphone,
// so the daemon of scripts/with-services has none until this one is loaded.
class PulseToneSource final {
public:
    static constexpr int Rate = 48'000;
    static constexpr double Hz = 1000;
    static constexpr double Amplitude = 0.5;
    static constexpr const char* Name = "quenda_tone";

    PulseToneSource()
    {
        const QString fifo = m_dir.filePath(QStringLiteral("tone"));
        if (const auto previous = pactl({QStringLiteral("get-default-source")});
            previous && previous->first == 0)
            m_previousDefault = previous->second;
        const auto loaded =
            pactl({QStringLiteral("load-module"), QStringLiteral("module-pipe-source"),
                   u"source_name=" + QLatin1String(Name), u"file=" + fifo, QStringLiteral("format=s16le"),
                   QStringLiteral("rate=48000"), QStringLiteral("channels=1")});
        if (!loaded || loaded->first != 0)
            return;
        m_module = loaded->second;
        pactl({QStringLiteral("set-default-source"), QLatin1String(Name)});
        m_writer = std::thread([this, path = fifo.toStdString()] { write(path); });
    }
    ~PulseToneSource()
    {
        m_stop = true;
        if (m_writer.joinable())
            m_writer.join();
        if (!m_module.isEmpty())
            pactl({QStringLiteral("unload-module"), m_module});
        if (!m_previousDefault.isEmpty())
            pactl({QStringLiteral("set-default-source"), m_previousDefault});
    }
    PulseToneSource(const PulseToneSource&) = delete;
    PulseToneSource& operator=(const PulseToneSource&) = delete;

    bool loaded() const { return !m_module.isEmpty(); }

private:
    // A fixed schedule, so the source runs at the real rate; writes up to PIPE_BUF are all or nothing.
    void write(const std::string& fifo)
    {
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd < 0)
            return;
        const AudioFormat format{Rate, 1, AudioFormat::SampleType::Int16};
        const QByteArray tone = sine(format, Hz, Amplitude, 1.0); // a whole number of periods
        constexpr qsizetype Period = Rate / 100 * 2;
        qsizetype at = 0;
        auto next = std::chrono::steady_clock::now();
        while (!m_stop) {
            if (::write(fd, tone.constData() + at, Period) == Period)
                at = (at + Period) % tone.size();
            next += std::chrono::milliseconds(10);
            std::this_thread::sleep_until(next);
        }
        ::close(fd);
    }

    QTemporaryDir m_dir;
    QString m_previousDefault;
    QString m_module;
    std::thread m_writer;
    std::atomic_bool m_stop = false;
};
