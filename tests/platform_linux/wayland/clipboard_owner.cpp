#include "clipboard_owner.h"

#include "wl_clipboard.h"

#include "platform/linux/wayland/data_control_pasteboard.h"
#include "platform/linux/wayland/data_control_protocol.h"
#include "platform/linux/wayland/wayland_connection.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <unistd.h>
#include <wayland-client-core.h>

namespace {

const char* const ownFlag = "--clipboard-owner";
const char* const stallFlag = "--clipboard-owner-stalling";

void ready()
{
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
}

int ownChild()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return 2;
    QDataStream stream(input.readAll());
    QList<PasteboardItem> items;
    while (!stream.atEnd()) {
        PasteboardItem item;
        stream >> item.type >> item.data;
        items.append(item);
    }
    WaylandConnection connection(WlClipboard::display());
    DataControlPasteboard board(connection);
    if (!board.ready())
        return 3;
    board.write(items);
    ready();
    return QCoreApplication::exec();
}

// Takes the clipboard by hand, as the backend would never leave a reader waiting.
int stallChild(const QString& type, ClipboardOwner::Stall stall)
{
    struct Sending {
        ClipboardOwner::Stall stall;
        std::vector<int> fds; // kept open: the reader sees no end of the data
    };
    static Sending sending{stall, {}};
    using SendFunction = void (*)(void*, wl_proxy*, const char*, int32_t);
    using CancelFunction = void (*)(void*, wl_proxy*);
    static struct {
        SendFunction send;
        CancelFunction cancelled;
    } listener{
        [](void*, wl_proxy*, const char*, int32_t fd) {
            sending.fds.push_back(fd);
            if (sending.stall == ClipboardOwner::Stall::AfterSomeBytes)
                (void)::write(fd, "some bytes", 10);
        },
        [](void*, wl_proxy*) { QCoreApplication::exit(0); },
    };

    WaylandConnection connection(WlClipboard::display());
    const DataControlProtocol& protocol = connection.offers(DataControlProtocol::ext().managerName)
                                              ? DataControlProtocol::ext()
                                              : DataControlProtocol::wlr();
    wl_proxy* manager = connection.bind(protocol.manager, 1);
    if (!manager || !connection.seat())
        return 3;
    wl_proxy* device = wl_proxy_marshal_flags(manager, DataControlProtocol::GetDataDevice, protocol.device, 1,
                                              0, nullptr, connection.seat());
    wl_proxy* source = wl_proxy_marshal_flags(manager, DataControlProtocol::CreateDataSource, protocol.source,
                                              1, 0, nullptr);
    wl_proxy_add_listener(source, reinterpret_cast<void (**)(void)>(&listener), nullptr);
    wl_proxy_marshal_flags(source, DataControlProtocol::Offer, nullptr, 1, 0, type.toUtf8().constData());
    wl_proxy_marshal_flags(device, DataControlProtocol::SetSelection, nullptr, 1, 0, source);
    if (!connection.roundtrip(WaylandConnection::connectTimeoutMs))
        return 4;
    QTimer trickle;
    QObject::connect(&trickle, &QTimer::timeout, &trickle, [] {
        for (const int fd : sending.fds)
            (void)::write(fd, "x", 1);
    });
    if (stall == ClipboardOwner::Stall::Trickling)
        trickle.start(50);
    ready();
    return QCoreApplication::exec();
}

} // namespace

int ClipboardOwner::runChild(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], ownFlag) == 0) {
        QCoreApplication app(argc, argv);
        return ownChild();
    }
    if (argc >= 4 && std::strcmp(argv[1], stallFlag) == 0) {
        QCoreApplication app(argc, argv);
        return stallChild(QString::fromUtf8(argv[2]), static_cast<Stall>(std::atoi(argv[3])));
    }
    return -1;
}

bool ClipboardOwner::own(const QList<PasteboardItem>& items)
{
    QByteArray input;
    QDataStream stream(&input, QIODevice::WriteOnly);
    for (const PasteboardItem& item : items)
        stream << item.type << item.data;
    return start({QString::fromLatin1(ownFlag)}, input);
}

bool ClipboardOwner::ownWithoutAnswering(const QString& type, Stall stall)
{
    return start({QString::fromLatin1(stallFlag), type, QString::number(static_cast<int>(stall))}, {});
}

bool ClipboardOwner::start(const QStringList& arguments, const QByteArray& input)
{
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(QCoreApplication::applicationFilePath(), arguments);
    m_process->write(input);
    m_process->closeWriteChannel();
    // The event loop runs meanwhile, so the caller's board sees the new selection arrive.
    return QTest::qWaitFor(
               [&] { return m_process->canReadLine() || m_process->state() == QProcess::NotRunning; },
               10'000) &&
           m_process->readLine().trimmed() == "ready";
}

ClipboardOwner::~ClipboardOwner()
{
    if (!m_process)
        return;
    m_process->kill();
    m_process->waitForFinished(5'000);
}
