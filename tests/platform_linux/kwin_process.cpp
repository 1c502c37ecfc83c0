#include "kwin_process.h"

#include "platform/linux/wayland/wayland_connection.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <wayland-client.h>

#include <optional>
#include <poll.h>

namespace {

// For a machine under load: a KWin that has just started may take many seconds to settle.
constexpr int startMs = 60000;
constexpr int stopMs = 5000;
// A compositor still starting answers slowly; the tests' calls, held to the program's bound, begin once
// it answers a new client well within that.
constexpr qint64 promptMs = WaylandConnection::connectTimeoutMs / 4;

// How long a new client's first round trip took; none when it did not come within `limitMs`. The
// test's own wait, apart from the program's connection and its bound.
std::optional<qint64> roundtripMs(const QByteArray& socket, int limitMs)
{
    wl_display* display = wl_display_connect(socket.constData());
    if (!display)
        return std::nullopt;
    static const wl_callback_listener listener = {
        .done = [](void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; },
    };
    bool answered = false;
    QElapsedTimer took;
    took.start();
    wl_callback* callback = wl_display_sync(display);
    wl_callback_add_listener(callback, &listener, &answered);
    const QDeadlineTimer deadline(limitMs);
    while (!answered && !deadline.hasExpired() && wl_display_flush(display) >= 0) {
        pollfd fd{wl_display_get_fd(display), POLLIN, 0};
        if (::poll(&fd, 1, int(deadline.remainingTime())) > 0 && wl_display_dispatch(display) < 0)
            break;
    }
    wl_callback_destroy(callback);
    wl_display_disconnect(display);
    return answered ? std::optional(took.elapsed()) : std::nullopt;
}

} // namespace

KwinProcess::KwinProcess(Shortcuts shortcuts)
{
    const QString installed = QStandardPaths::findExecutable(QStringLiteral("kwin_wayland"));
    const QString copy = m_root.filePath(QStringLiteral("kwin_wayland"));
    if (installed.isEmpty() || !QFile::copy(installed, copy))
        return;
    QDir(m_root.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(m_root.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(m_root.path()).mkpath(applicationsDir());

    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    env.insert(QStringLiteral("HOME"), m_root.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus.address());
    m_process.setProcessEnvironment(env);
    // Nobody reads its chatter: a full pipe would stop it.
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    QStringList arguments{QStringLiteral("--virtual"),
                          QStringLiteral("--socket"),
                          QStringLiteral("quenda-kwin"),
                          QStringLiteral("--width"),
                          QStringLiteral("1280"),
                          QStringLiteral("--height"),
                          QStringLiteral("800"),
                          QStringLiteral("--no-lockscreen"),
                          QStringLiteral("--no-kactivities")};
    if (shortcuts == Shortcuts::Off)
        arguments << QStringLiteral("--no-global-shortcuts");
    m_process.start(copy, arguments);
    // The socket appears before KWin answers on it.
    const QByteArray socket = QFile::encodeName(m_root.filePath(QStringLiteral("run/quenda-kwin")));
    const QDeadlineTimer deadline(startMs);
    const bool answers = QTest::qWaitFor(
        [&] {
            if (m_process.state() == QProcess::NotRunning)
                return true;
            if (!QFile::exists(QFile::decodeName(socket)))
                return false;
            const std::optional<qint64> took = roundtripMs(socket, int(deadline.remainingTime()));
            return took && *took <= promptMs;
        },
        startMs);
    if (answers && m_process.state() != QProcess::NotRunning)
        m_display = socket;
}

KwinProcess::~KwinProcess()
{
    stop();
}

void KwinProcess::stop()
{
    // A test compositor has nothing to save; the folder goes once nothing writes there any more.
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(stopMs);
}

QString KwinProcess::applicationsDir() const
{
    return m_root.filePath(QStringLiteral(".local/share/applications"));
}

bool KwinProcess::installProgramEntry() const
{
    QFile in(QStringLiteral(QUENDA_SOURCE_DIR "/resources/de.morvane.quenda.desktop.in"));
    QFile out(applicationsDir() + QStringLiteral("/de.morvane.quenda.desktop"));
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    QByteArray entry = in.readAll();
    entry.replace("@QUENDA_EXEC@", QFile::encodeName(QCoreApplication::applicationFilePath()));
    return out.write(entry) == entry.size();
}
