#include "wayland_peers.h"

#include "platform/linux/wayland/data_control_pasteboard.h"
#include "platform/linux/wayland/data_control_protocol.h"
#include "platform/linux/wayland/wayland_connection.h"

#include <QCoreApplication>
#include <QTimer>

#include <vector>

#include <unistd.h>
#include <wayland-client-core.h>

namespace {

// Takes the clipboard by hand, as the backend would never leave a reader waiting. The mode says how
// it never finishes: "silent", "some bytes" or "trickling".
int stall(const QString& type, const QString& mode)
{
    struct Sending {
        bool someBytes;
        std::vector<int> fds; // kept open: the reader sees no end of the data
    };
    static Sending sending{mode == QLatin1String("some bytes"), {}};
    using SendFunction = void (*)(void*, wl_proxy*, const char*, int32_t);
    using CancelFunction = void (*)(void*, wl_proxy*);
    static struct {
        SendFunction send;
        CancelFunction cancelled;
    } listener{
        [](void*, wl_proxy*, const char*, int32_t fd) {
            sending.fds.push_back(fd);
            if (sending.someBytes)
                (void)::write(fd, "some bytes", 10);
        },
        [](void*, wl_proxy*) { QCoreApplication::exit(0); },
    };

    WaylandConnection connection;
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
    if (mode == QLatin1String("trickling"))
        trickle.start(50);
    WaylandPeers::ClipboardOwner::owned();
    return QCoreApplication::exec();
}

} // namespace

// This binary as another program owning the clipboard; with a mode, one that never finishes sending.
int ownClipboard(const QList<PasteboardItem>& items, const QString& mode)
{
    if (!mode.isEmpty())
        return stall(items.value(0).type, mode);
    WaylandConnection connection;
    DataControlPasteboard board(connection);
    if (!board.ready())
        return 3;
    board.write(items);
    WaylandPeers::ClipboardOwner::owned();
    return QCoreApplication::exec();
}
