#include "wl_clipboard.h"

#include "compositor.h"

#include <QProcessEnvironment>
#include <QTest>

namespace {

WlClipboard::Running process(const QString& program, const QStringList& arguments,
                             const QString& outputPath = {})
{
    WlClipboard::Running started(new QProcess);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QString::fromLocal8Bit(WlClipboard::display()));
    started->setProcessEnvironment(environment);
    if (!outputPath.isEmpty())
        started->setStandardOutputFile(outputPath);
    started->start(program, arguments);
    return started;
}

std::optional<QByteArray> output(const QStringList& arguments)
{
    const auto paste = process(QStringLiteral("wl-paste"), arguments);
    if (!QTest::qWaitFor([&] { return paste->state() == QProcess::NotRunning; }, 10'000))
        return std::nullopt;
    if (paste->exitStatus() != QProcess::NormalExit || paste->exitCode() != 0)
        return std::nullopt;
    return paste->readAllStandardOutput();
}

} // namespace

namespace WlClipboard {

QByteArray display()
{
    return qEnvironmentVariableIsSet("QUENDA_CLIPBOARD_WAYLAND_DISPLAY")
               ? qgetenv("QUENDA_CLIPBOARD_WAYLAND_DISPLAY")
               : swayDisplay();
}

void Stop::operator()(QProcess* process) const
{
    process->kill();
    process->waitForFinished(5000);
    delete process;
}

Running copy(const QString& type, const QByteArray& bytes)
{
    auto copying =
        process(QStringLiteral("wl-copy"), {QStringLiteral("--foreground"), QStringLiteral("-t"), type});
    copying->write(bytes);
    copying->closeWriteChannel();
    return copying;
}

std::optional<QByteArray> paste(const QString& type)
{
    return output({QStringLiteral("--no-newline"), QStringLiteral("-t"), type});
}

std::optional<QStringList> types()
{
    const std::optional<QByteArray> listed = output({QStringLiteral("--list-types")});
    if (!listed)
        return std::nullopt;
    return QString::fromUtf8(*listed).split(u'\n', Qt::SkipEmptyParts);
}

Running pasteInto(const QString& type, const QString& path)
{
    return process(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline"), QStringLiteral("-t"), type},
                   path);
}

} // namespace WlClipboard
