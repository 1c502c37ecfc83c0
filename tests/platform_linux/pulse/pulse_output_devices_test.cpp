#include "platform/linux/pulse/pulse_output_devices.h"
#include "service_check.h"
#include "test_sinks.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using namespace Qt::Literals::StringLiterals;
using namespace std::chrono_literals;
using Failure = OutputDevices::Failure;

constexpr double kStep = 1.0 / 65536; // one raw PulseAudio volume step

// Relays clients to a server socket on a thread of its own. Frozen, it keeps every connection open
// and passes nothing, and accepts nobody new: a server that hangs after it said hello.
class FreezingRelay {
public:
    FreezingRelay(const QString& listenPath, const QString& serverPath)
        : m_server(serverPath.toStdString())
    {
        m_listen = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const sockaddr_un address = addressOf(listenPath.toStdString());
        if (::bind(m_listen, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listen, 8) != 0)
            return;
        m_thread = std::thread([this] { run(); });
    }
    ~FreezingRelay()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        for (const int fd : m_fds)
            ::close(fd);
        ::close(m_listen);
    }
    bool listening() const { return m_thread.joinable(); }
    void freeze() { m_frozen = true; }

private:
    static sockaddr_un addressOf(const std::string& path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        return address;
    }
    // Client and server sockets in pairs: fds[2k] and fds[2k + 1].
    void run()
    {
        while (!m_stop) {
            std::vector<pollfd> polled{{m_listen, POLLIN, 0}};
            for (const int fd : m_fds)
                polled.push_back({fd, POLLIN, 0});
            if (m_frozen)
                polled.clear();
            ::poll(polled.data(), polled.size(), 20);
            if (m_frozen)
                continue;
            if (polled[0].revents & POLLIN) {
                const int client = ::accept(m_listen, nullptr, nullptr);
                const int upstream = ::socket(AF_UNIX, SOCK_STREAM, 0);
                const sockaddr_un address = addressOf(m_server);
                if (::connect(upstream, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
                    m_fds.push_back(client);
                    m_fds.push_back(upstream);
                } else {
                    ::close(client), ::close(upstream);
                }
            }
            for (std::size_t i = 1; i < polled.size(); ++i) {
                if (!(polled[i].revents & (POLLIN | POLLHUP)))
                    continue;
                char buffer[4096];
                const ssize_t got = ::read(polled[i].fd, buffer, sizeof buffer);
                const int peer = m_fds[(i - 1) ^ 1];
                if (got > 0)
                    (void)!::write(peer, buffer, std::size_t(got));
            }
        }
    }

    std::string m_server;
    int m_listen = -1;
    std::vector<int> m_fds;
    std::atomic<bool> m_frozen = false;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

class PulseOutputDevicesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(TestSinks::privateServerRunning(), "the private PulseAudio server");
    }

    TestSinks m_sinks{u"dev"_s};
    PulseOutputDevices m_pulse;
};

TEST_F(PulseOutputDevicesTest, ListsSinksInServerOrderWithVolumeRelativeToNormal)
{
    const QString a = m_sinks.add(u"a"_s);
    const QString b = m_sinks.add(u"b"_s);
    ASSERT_TRUE(TestSinks::pactl({u"set-sink-volume"_s, a, u"50%"_s}));
    ASSERT_TRUE(TestSinks::pactl({u"set-sink-mute"_s, b, u"1"_s}));

    const auto listed = m_pulse.devices();

    ASSERT_TRUE(listed.ok()) << listed.error().message.toStdString();
    QList<OutputDevices::Device> own;
    for (const auto& device : listed.value()) {
        if (device.id.startsWith(m_sinks.prefix()))
            own.append(device);
    }
    ASSERT_EQ(own.size(), 2);
    EXPECT_EQ(own[0].id, a);
    EXPECT_TRUE(own[0].hasMute);
    EXPECT_EQ(own[0].muted, false);
    EXPECT_NEAR(own[0].volume.value_or(-1), 0.5, kStep);
    EXPECT_EQ(own[1].id, b);
    EXPECT_EQ(own[1].muted, true);
    EXPECT_NEAR(own[1].volume.value_or(-1), 1.0, kStep);
}

struct VolumeCase {
    const char* name;
    QStringList start; // per-channel volumes for pactl
    double set;
    quint32 left;  // raw volumes after the set
    quint32 right; // one step of rounding either way is allowed
};

// clang-format off
const std::vector<VolumeCase> kVolumeCases = {
    {.name = "lowering keeps the balance", .start = {u"40%"_s, u"20%"_s}, .set = 0.11, .left = 7209, .right = 3604},
    {.name = "above normal is not clamped", .start = {u"100%"_s, u"50%"_s}, .set = 1.5, .left = 98304, .right = 49152},
    {.name = "the louder channel may be the right", .start = {u"25%"_s, u"50%"_s}, .set = 1, .left = 32768, .right = 65536},
    {.name = "zero silences every channel", .start = {u"40%"_s, u"20%"_s}, .set = 0, .left = 0, .right = 0},
};
// clang-format on

TEST_F(PulseOutputDevicesTest, SettingAVolumeScalesEveryChannelAndReadsBackTheLoudest)
{
    const QString sink = m_sinks.add(u"v"_s);
    for (const auto& c : kVolumeCases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(TestSinks::pactl(QStringList{u"set-sink-volume"_s, sink} + c.start));

        const auto done = m_pulse.setVolume(sink, c.set);

        ASSERT_TRUE(done.ok()) << done.error().message.toStdString();
        const auto state = TestSinks::state(sink);
        ASSERT_TRUE(state);
        EXPECT_NEAR(state->channels.value(u"front-left"_s), c.left, 1);
        EXPECT_NEAR(state->channels.value(u"front-right"_s), c.right, 1);
        const auto read = m_pulse.volume(sink);
        ASSERT_TRUE(read.ok());
        EXPECT_NEAR(read.value(), c.set, kStep);
    }
}

TEST_F(PulseOutputDevicesTest, MuteIsSetAndReadBack)
{
    const QString sink = m_sinks.add(u"m"_s);
    for (const bool muted : {true, false}) {
        ASSERT_TRUE(m_pulse.setMute(sink, muted).ok());
        EXPECT_EQ(TestSinks::state(sink).value_or(TestSinks::State{}).muted, muted);
        const auto read = m_pulse.mute(sink);
        ASSERT_TRUE(read.ok());
        EXPECT_EQ(read.value(), muted);
    }
}

struct MissingCase {
    const char* name;
    std::function<std::optional<OutputDevices::Error>(OutputDevices&, const QString&)> call;
};

template <typename R> std::optional<OutputDevices::Error> errorOf(const R& result)
{
    return result.ok() ? std::nullopt : std::optional(result.error());
}

// clang-format off
const std::vector<MissingCase> kMissingCases = {
    {.name = "mute", .call = [](OutputDevices& d, const QString& id) { return errorOf(d.mute(id)); }},
    {.name = "volume", .call = [](OutputDevices& d, const QString& id) { return errorOf(d.volume(id)); }},
    {.name = "setMute", .call = [](OutputDevices& d, const QString& id) { return errorOf(d.setMute(id, true)); }},
    {.name = "setVolume", .call = [](OutputDevices& d, const QString& id) { return errorOf(d.setVolume(id, 0.5)); }},
};
// clang-format on

TEST_F(PulseOutputDevicesTest, AMissingSinkIsNoDeviceNotAFailure)
{
    for (const auto& c : kMissingCases) {
        SCOPED_TRACE(c.name);
        for (const QString& id : QStringList{m_sinks.prefix() + u"gone"_s, QString()}) {
            const auto error = c.call(m_pulse, id);
            ASSERT_TRUE(error);
            EXPECT_EQ(error->failure, Failure::NoDevice) << error->message.toStdString();
        }
    }
}

TEST(PulseOutputDevicesWithoutServer, FailsWhenNobodyListens)
{
    PulseOutputDevices pulse({.server = u"unix:/nonexistent/quenda/native"_s});

    const auto listed = pulse.devices();

    ASSERT_FALSE(listed.ok());
    EXPECT_EQ(listed.error().failure, Failure::Failed);
}

TEST(PulseOutputDevicesWithoutServer, AServerThatNeverAnswersCannotHoldACall)
{
    QTemporaryDir dir;
    QLocalServer mute; // accepts connections into its backlog and never says a word
    ASSERT_TRUE(mute.listen(dir.filePath(u"native"_s)));
    PulseOutputDevices pulse({.server = u"unix:"_s + mute.fullServerName(), .timeout = 300ms});

    for (int call = 0; call < 2; ++call) {
        QElapsedTimer elapsed;
        elapsed.start();
        const auto done = pulse.setMute(u"any"_s, true);
        ASSERT_FALSE(done.ok());
        EXPECT_EQ(done.error().failure, Failure::Failed);
        EXPECT_LT(elapsed.elapsed(), 3000);
    }
}

TEST_F(PulseOutputDevicesTest, ReconnectsWhenTheServerComesBack)
{
    // A second listening socket of the test server stands in for a server restart: unloading
    // it drops our connection and refuses new ones, loading it again is the restarted server.
    QTemporaryDir dir;
    const QString socket = dir.filePath(u"native"_s);
    QString module;
    const auto start = [&] {
        const auto loaded = TestSinks::pactl({u"load-module"_s, u"module-native-protocol-unix"_s,
                                              u"auth-anonymous=1"_s, u"socket="_s + socket});
        module = loaded ? QString::fromUtf8(loaded->trimmed()) : QString();
        return loaded.has_value();
    };
    const auto stop = [&] { return TestSinks::pactl({u"unload-module"_s, module}).has_value(); };
    const QString sink = m_sinks.add(u"r"_s);
    ASSERT_TRUE(start());
    PulseOutputDevices pulse({.server = u"unix:"_s + socket});
    ASSERT_TRUE(pulse.setMute(sink, true).ok());

    // Restarted while no call was under way: the very next call reaches the new server.
    ASSERT_TRUE(stop());
    ASSERT_TRUE(start());
    const auto afterRestart = pulse.setMute(sink, false);
    EXPECT_TRUE(afterRestart.ok()) << afterRestart.error().message.toStdString();
    EXPECT_EQ(TestSinks::state(sink).value_or(TestSinks::State{.muted = true, .channels = {}}).muted, false);

    // Gone for a while: calls fail meanwhile and work again once it is back.
    ASSERT_TRUE(stop());
    const auto whileGone = pulse.setMute(sink, true);
    ASSERT_FALSE(whileGone.ok());
    EXPECT_EQ(whileGone.error().failure, Failure::Failed);
    ASSERT_TRUE(start());
    const auto back = pulse.setMute(sink, true);
    EXPECT_TRUE(back.ok()) << back.error().message.toStdString();
    EXPECT_EQ(TestSinks::state(sink).value_or(TestSinks::State{}).muted, true);
    stop();
}

// A server that hangs mid-session would otherwise freeze the main thread in the muting call.
TEST_F(PulseOutputDevicesTest, AServerThatStopsAnsweringAfterAFirstCallCannotHoldTheNext)
{
    QTemporaryDir dir;
    // The relay passes bytes, not the memory handles shared memory would send along.
    QFile config(dir.filePath(u"client.conf"_s));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("enable-shm = no\nenable-memfd = no\n");
    config.close();
    qputenv("PULSE_CLIENTCONFIG", QFile::encodeName(config.fileName()));
    const QString socket = dir.filePath(u"native"_s);
    const auto loaded =
        TestSinks::pactl({u"load-module"_s, u"module-native-protocol-unix"_s, u"auth-anonymous=1"_s,
                          u"srbchannel=false"_s, u"socket="_s + socket});
    ASSERT_TRUE(loaded);
    const QString module = QString::fromUtf8(loaded->trimmed());
    FreezingRelay relay(dir.filePath(u"relay"_s), socket);
    ASSERT_TRUE(relay.listening());
    const QString sink = m_sinks.add(u"h"_s);
    PulseOutputDevices pulse({.server = u"unix:"_s + dir.filePath(u"relay"_s), .timeout = 300ms});
    const auto first = pulse.setMute(sink, true);
    ASSERT_TRUE(first.ok()) << first.error().message.toStdString();

    relay.freeze();
    for (int call = 0; call < 2; ++call) {
        QElapsedTimer elapsed;
        elapsed.start();
        const auto done = pulse.setMute(sink, false);
        ASSERT_FALSE(done.ok());
        EXPECT_EQ(done.error().failure, Failure::Failed);
        EXPECT_LT(elapsed.elapsed(), 3000);
    }
    TestSinks::pactl({u"unload-module"_s, module});
    qunsetenv("PULSE_CLIENTCONFIG");
}

} // namespace
