#include "wayland_peers.h"

#include "pasteboard_samples.h"

#include "platform/linux/gnome/mutter_remote_desktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace WaylandPeers {

namespace {

const char* const ownerFlag = "--clipboard-owner";

void say(const QByteArray& line)
{
    std::fputs(QByteArray(line + '\n').constData(), stdout);
    std::fflush(stdout);
}

std::optional<QByteArray> runWlPaste(const QStringList& args, const QByteArray& display = {})
{
    QProcess process;
    process.setProcessEnvironment(clientEnvironment(display));
    process.start(QStringLiteral("wl-paste"), args);
    if (!waitFor([&] { return process.state() == QProcess::NotRunning; }))
        return std::nullopt;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

} // namespace

bool waitFor(const std::function<bool()>& done, int limitMs)
{
    // Wakes at each event, so a peer's answer is seen as it comes (the benchmarks time it).
    QTimer tick;
    tick.start(10);
    const QDeadlineTimer deadline(limitMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

QByteArray swayDisplay()
{
    const QByteArray sway = qgetenv("QUENDA_SWAY_WAYLAND_DISPLAY");
    return sway.isEmpty() ? qgetenv("WAYLAND_DISPLAY") : sway;
}

bool compositorPresent()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    return !qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty() && bus.isConnected() &&
           bus.interface()->isServiceRegistered(MutterRemoteDesktop::service).value();
}

QProcessEnvironment clientEnvironment(const QByteArray& display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!display.isEmpty())
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), QString::fromLocal8Bit(display));
    env.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    env.remove(QStringLiteral("DISPLAY"));
    // No peer should talk to the accessibility bus of the suite's services.
    env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
    return env;
}

void Peer::start(const QString& program, const QStringList& arguments, QProcessEnvironment environment,
                 const QByteArray& input)
{
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, arguments);
    m_process.write(input);
    // Out now, so the peer gets going without this process's event loop.
    if (!input.isEmpty())
        m_process.waitForBytesWritten(5000);
    if (!m_endsWithInput)
        m_process.closeWriteChannel();
}

bool Peer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return true;
    m_process.closeWriteChannel();
    if (!m_endsWithInput)
        m_process.terminate();
    if (waitFor([&] { return m_process.state() == QProcess::NotRunning; }, 5000))
        return true;
    m_process.kill();
    return m_process.waitForFinished(2000);
}

Peer::~Peer()
{
    stop();
}

Field::Field(Toolkit toolkit, const QByteArray& display)
{
    QProcessEnvironment env = clientEnvironment(display);
    if (toolkit == Toolkit::QtXWayland) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("QUENDA_MUTTER_X11_DISPLAY"));
        env.insert(QStringLiteral("XAUTHORITY"), qEnvironmentVariable("QUENDA_MUTTER_XAUTHORITY"));
    }
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { readLines(); });
    start(toolkit == Toolkit::Gtk ? QStringLiteral(QUENDA_GTK_FIELD) : QStringLiteral(QUENDA_QT_FIELD), {},
          env);
}

void Field::readLines()
{
    while (m_process.canReadLine()) {
        const QString line = QString::fromUtf8(m_process.readLine()).chopped(1);
        if (line == QLatin1String("ready"))
            m_focused = true;
        else if (line.startsWith(QLatin1String("text:")))
            m_text = line.mid(5);
    }
}

bool Field::focused()
{
    return waitFor([this] { return m_focused; }, 15'000);
}

QString Field::waitForText(const QString& text)
{
    waitFor([&] { return m_text == text; }, 5000);
    return m_text;
}

ClipboardOwner::ClipboardOwner(const QList<PasteboardItem>& items, const QString& mode)
{
    // The items go through the input, which may hold more than a command line.
    start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(ownerFlag), mode},
          QProcessEnvironment::systemEnvironment(), PasteboardSamples::encode(items) + '\n');
    m_owns =
        waitFor([this] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; }) &&
        m_process.readLine().trimmed() == "owned";
}

int ClipboardOwner::runChild(int argc, char** argv, const Own& own)
{
    if (argc < 3 || std::strcmp(argv[1], ownerFlag) != 0)
        return -1;
    QCoreApplication app(argc, argv);
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return 2;
    const QList<PasteboardItem> items =
        PasteboardSamples::decode(input.readLine()).value_or(QList<PasteboardItem>());
    // Ends once the parent closes the input.
    QSocketNotifier closed(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&closed, &QSocketNotifier::activated, &app, [] {
        char byte = 0;
        if (::read(STDIN_FILENO, &byte, 1) <= 0)
            QCoreApplication::quit();
    });
    return own(items, QString::fromUtf8(argv[2]));
}

void ClipboardOwner::owned()
{
    say("owned");
}

WlCopy::WlCopy(const QString& type, const QByteArray& data, const QByteArray& display, bool primary)
    : m_type(type)
    , m_data(data)
    , m_display(display)
    , m_primary(primary)
{
    m_endsWithInput = false;
    QStringList args{QStringLiteral("--foreground")};
    if (primary)
        args << QStringLiteral("--primary");
    if (!type.isEmpty())
        args << QStringLiteral("--type") << type;
    start(QStringLiteral("wl-copy"), args, clientEnvironment(display), data);
}

bool WlCopy::offered() const
{
    return waitFor(
        [this] { return (m_primary ? wlPastePrimary(m_display) : wlPaste(m_type, m_display)) == m_data; });
}

WlPasteInto::WlPasteInto(const QString& type, const QString& path)
{
    m_endsWithInput = false;
    m_process.setStandardOutputFile(path);
    start(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline"), QStringLiteral("--type"), type},
          clientEnvironment({}));
}

std::optional<QByteArray> wlPaste(const QString& type, const QByteArray& display)
{
    QStringList args{QStringLiteral("--no-newline")};
    if (!type.isEmpty())
        args << QStringLiteral("--type") << type;
    return runWlPaste(args, display);
}

std::optional<QByteArray> wlPastePrimary(const QByteArray& display)
{
    return runWlPaste({QStringLiteral("--no-newline"), QStringLiteral("--primary")}, display);
}

QStringList wlTypes()
{
    const auto listed = runWlPaste({QStringLiteral("--list-types")});
    if (!listed)
        return {};
    return QString::fromUtf8(*listed).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace WaylandPeers
