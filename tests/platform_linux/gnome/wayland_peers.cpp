#include "wayland_peers.h"

#include "pasteboard_samples.h"

#include "platform/linux/gnome/mutter_pasteboard.h"
#include "platform/linux/gnome/mutter_remote_desktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSocketNotifier>
#include <QTest>
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

// Quits the child once the parent closes its stdin.
void quitWithStdin(QSocketNotifier& input)
{
    QObject::connect(&input, &QSocketNotifier::activated, QCoreApplication::instance(), [] {
        char byte = 0;
        if (::read(STDIN_FILENO, &byte, 1) <= 0)
            QCoreApplication::quit();
    });
}

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.closeWriteChannel();
    if (!waitFor([&] { return process.state() == QProcess::NotRunning; }, 5000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

} // namespace

bool waitFor(const std::function<bool()>& done, int limitMs)
{
    return QTest::qWaitFor(done, limitMs);
}

bool compositorPresent()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    return !qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty() && bus.isConnected() &&
           bus.interface()->isServiceRegistered(MutterRemoteDesktop::service).value();
}

Field::Field(Toolkit toolkit)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
               toolkit == Toolkit::QtXWayland ? QStringLiteral("xcb") : QStringLiteral("wayland"));
    if (toolkit == Toolkit::QtXWayland) {
        env.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("QUENDA_MUTTER_X11_DISPLAY"));
        env.insert(QStringLiteral("XAUTHORITY"), qEnvironmentVariable("QUENDA_MUTTER_XAUTHORITY"));
    }
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { readLines(); });
    m_process.start(toolkit == Toolkit::Gtk ? QStringLiteral(QUENDA_GTK_FIELD)
                                            : QStringLiteral(QUENDA_QT_FIELD));
}

Field::~Field()
{
    stop(m_process);
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
    return waitFor([this] { return m_focused; });
}

QString Field::waitForText(const QString& text)
{
    waitFor([&] { return m_text == text; }, 5000);
    return m_text;
}

ClipboardOwner::ClipboardOwner(const QList<PasteboardItem>& items)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(ownerFlag), QString::fromLatin1(PasteboardSamples::encode(items))});
    m_owns = waitFor([this] { return m_process.canReadLine(); }) && m_process.readLine().trimmed() == "owned";
}

ClipboardOwner::~ClipboardOwner()
{
    stop(m_process);
}

int ClipboardOwner::runChild(int argc, char** argv)
{
    if (argc < 3 || std::strcmp(argv[1], ownerFlag) != 0)
        return -1;
    QCoreApplication app(argc, argv);
    MutterRemoteDesktop desktop;
    MutterPasteboard board(desktop);
    const QList<PasteboardItem> items =
        PasteboardSamples::decode(QByteArray(argv[2])).value_or(QList<PasteboardItem>());
    // Written once the loop runs: our notice of the write is how the test learns it owns the clipboard.
    QTimer::singleShot(0, &app, [&] {
        board.write(items);
        if (!board.unavailableReason().isEmpty() || board.types().isEmpty())
            QCoreApplication::exit(3);
        else
            say("owned");
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    quitWithStdin(input);
    return QCoreApplication::exec();
}

WlCopy::WlCopy(const QString& type, const QByteArray& data)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("wl-copy"),
                    {QStringLiteral("--foreground"), QStringLiteral("--type"), type});
    m_process.write(data);
    m_process.closeWriteChannel();
}

WlCopy::~WlCopy()
{
    m_process.terminate();
    if (!m_process.waitForFinished(2000))
        m_process.kill();
    m_process.waitForFinished(2000);
}

namespace {

std::optional<QByteArray> runWlPaste(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral("wl-paste"), args);
    if (!waitFor([&] { return process.state() == QProcess::NotRunning; }))
        return std::nullopt;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

} // namespace

std::optional<QByteArray> wlPaste(const QString& type)
{
    QStringList args{QStringLiteral("--no-newline")};
    if (!type.isEmpty())
        args << QStringLiteral("--type") << type;
    return runWlPaste(args);
}

QStringList wlTypes()
{
    const auto listed = runWlPaste({QStringLiteral("--list-types")});
    if (!listed)
        return {};
    return QString::fromUtf8(*listed).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace WaylandPeers
