#include "clipboard_peer.h"
#include "pasteboard_samples.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <QSocketNotifier>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

using PasteboardSamples::decode;
using PasteboardSamples::encode;

const char* const serveFlag = "--clipboard-peer-serve";
const char* const readFlag = "--clipboard-peer-read";

int serveChild(const QByteArray& json)
{
    const auto items = decode(json);
    if (!items)
        return 2;
    auto* mime = new QMimeData;
    for (const PasteboardItem& item : *items)
        mime->setData(item.type, item.data);
    QGuiApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);
    if (!QGuiApplication::clipboard()->ownsClipboard())
        return 3;
    std::fputs("owned\n", stdout);
    std::fflush(stdout);
    // Serves the clipboard until the parent closes our stdin.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, qApp, [] {
        char byte = 0;
        if (::read(STDIN_FILENO, &byte, 1) <= 0)
            QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}

int readChild()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    QList<PasteboardItem> items;
    if (mime) {
        for (const QString& type : mime->formats())
            items.append({type, mime->data(type)});
    }
    std::fputs(encode(items).constData(), stdout);
    return 0;
}

} // namespace

int ClipboardPeer::runChild(int argc, char** argv)
{
    if (argc < 2 || (std::strcmp(argv[1], serveFlag) != 0 && std::strcmp(argv[1], readFlag) != 0))
        return -1;
    QGuiApplication app(argc, argv);
    if (std::strcmp(argv[1], readFlag) == 0)
        return readChild();
    return argc > 2 ? serveChild(QByteArray(argv[2])) : 2;
}

bool ClipboardPeer::serve(const QList<PasteboardItem>& items)
{
    m_process = std::make_unique<QProcess>();
    m_process->start(QCoreApplication::applicationFilePath(),
                     {QString::fromLatin1(serveFlag), QString::fromLatin1(encode(items))});
    // Bounded: the child answers as soon as it owns the clipboard.
    if (!m_process->waitForReadyRead(10'000))
        return false;
    return m_process->readLine().trimmed() == "owned";
}

std::optional<QList<PasteboardItem>> ClipboardPeer::read()
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(readFlag)});
    // The event loop must run meanwhile: this process serves what the child asks for.
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10'000))
        return std::nullopt;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return decode(process.readAllStandardOutput());
}

ClipboardPeer::~ClipboardPeer()
{
    if (!m_process)
        return;
    // Taking the clipboard before the child quits keeps the notice of an owner that left from
    // arriving during the next test.
    QGuiApplication::clipboard()->setMimeData(new QMimeData, QClipboard::Clipboard);
    m_process->closeWriteChannel();
    if (!m_process->waitForFinished(5'000))
        m_process->kill();
}
