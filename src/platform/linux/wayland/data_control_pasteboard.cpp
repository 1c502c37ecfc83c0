#include "platform/linux/wayland/data_control_pasteboard.h"

#include "platform/linux/clipboard/mime_text.h"
#include "platform/linux/clipboard/pipe_transfer.h"
#include "platform/linux/wayland/data_control_protocol.h"
#include "platform/linux/wayland/pipe_writer.h"
#include "platform/linux/wayland/wayland_connection.h"

#include <QMimeData>

#include <wayland-client-core.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Protocol = DataControlProtocol;

struct DeviceListener {
    void (*dataOffer)(void*, wl_proxy*, wl_proxy*);
    void (*selection)(void*, wl_proxy*, wl_proxy*);
    void (*finished)(void*, wl_proxy*);
    void (*primarySelection)(void*, wl_proxy*, wl_proxy*);
};
struct OfferListener {
    void (*offer)(void*, wl_proxy*, const char*);
};
struct SourceListener {
    void (*send)(void*, wl_proxy*, const char*, int32_t);
    void (*cancelled)(void*, wl_proxy*);
};

template <typename Listener> void listen(wl_proxy* proxy, const Listener& listener, void* data)
{
    // libwayland takes a listener as an array of function pointers, one per event.
    wl_proxy_add_listener(proxy, reinterpret_cast<void (**)(void)>(const_cast<Listener*>(&listener)), data);
}

void destroy(wl_proxy* proxy, std::uint32_t destructor)
{
    if (proxy)
        wl_proxy_marshal_flags(proxy, destructor, nullptr, wl_proxy_get_version(proxy),
                               WL_MARSHAL_FLAG_DESTROY);
}

// Linux programs ask for plain text by these names as well; ours offers them all.
const QStringList textAliases{
    QStringLiteral("text/plain;charset=utf-8"),
    QStringLiteral("UTF8_STRING"),
    QStringLiteral("TEXT"),
    QStringLiteral("STRING"),
};
const QStringList textTypes{QStringLiteral("text/plain;charset=utf-8"), QStringLiteral("text/plain"),
                            QStringLiteral("UTF8_STRING")};

} // namespace

struct DataControlPasteboard::Listeners {
    DeviceListener device;
    OfferListener offer;
    SourceListener source;
};

// A clipboard of ours on offer: every type once, in the order written, aliases after.
struct DataControlPasteboard::Source {
    wl_proxy* proxy = nullptr;
    QStringList types;
    QHash<QString, QByteArray> bytes;

    explicit Source(const QList<PasteboardItem>& items)
    {
        for (const PasteboardItem& item : items)
            add(item.type, item.data);
        for (const PasteboardItem& item : items) {
            if (item.type == QLatin1String("text/plain")) {
                for (const QString& alias : textAliases)
                    add(alias, item.data);
            }
        }
    }

    void add(const QString& type, const QByteArray& data)
    {
        if (type.isEmpty() || bytes.contains(type))
            return;
        types.append(type);
        bytes.insert(type, data);
    }
};

const DataControlPasteboard::Listeners& DataControlPasteboard::listeners()
{
    static const Listeners all{
        {&onDataOffer, &onSelection, &onFinished, &onPrimarySelection},
        {&onOffer},
        {&onSend, &onCancelled},
    };
    return all;
}

bool DataControlPasteboard::offeredBy(WaylandConnection& connection)
{
    return connection.connected() &&
           (connection.offers(Protocol::ext().managerName) ||
            connection.offers(Protocol::wlr().managerName)) &&
           connection.seat();
}

DataControlPasteboard::DataControlPasteboard(WaylandConnection& connection, QObject* parent)
    : DataControlPasteboard(connection, Limits(), Selection::Clipboard, parent)
{
}

DataControlPasteboard::DataControlPasteboard(WaylandConnection& connection, Limits limits,
                                             Selection selection, QObject* parent)
    : QObject(parent)
    , m_connection(connection)
    , m_limits(limits)
    , m_selection(selection)
{
    for (const Protocol* protocol : {&Protocol::ext(), &Protocol::wlr()}) {
        if (connection.offers(protocol->managerName)) {
            m_protocol = protocol;
            break;
        }
    }
    wl_seat* seat = connection.seat();
    if (!m_protocol || !seat)
        return;
    // The wlroots family added only the primary selection after its first version.
    const uint32_t version = selection == Selection::Primary ? m_protocol->primarySince : 1;
    m_manager = connection.bind(m_protocol->manager, version);
    if (m_manager && wl_proxy_get_version(m_manager) < version) {
        destroy(m_manager, Protocol::DestroyManager);
        m_manager = nullptr;
    }
    if (!m_manager)
        return;
    m_device = wl_proxy_marshal_flags(m_manager, Protocol::GetDataDevice, m_protocol->device,
                                      wl_proxy_get_version(m_manager), 0, nullptr, seat);
    listen(m_device, listeners().device, this);
    connect(&connection, &WaylandConnection::lost, this, [this] {
        forgetSelection();
        ++m_changeCount;
    });
    // The compositor answers a new device with the current selection.
    connection.roundtrip(m_limits.confirmMs);
}

DataControlPasteboard::~DataControlPasteboard()
{
    forgetSelection();
    for (auto it = m_announced.cbegin(); it != m_announced.cend(); ++it)
        destroy(it.key(), Protocol::DestroyOffer);
    if (m_source)
        destroy(m_source->proxy, Protocol::DestroySource);
    destroy(m_device, Protocol::DestroyDevice);
    destroy(m_manager, Protocol::DestroyManager);
    m_connection.flush();
}

void DataControlPasteboard::onDataOffer(void* data, wl_proxy*, wl_proxy* offer)
{
    auto* self = static_cast<DataControlPasteboard*>(data);
    self->m_announced.insert(offer, {});
    listen(offer, listeners().offer, self);
}

void DataControlPasteboard::onOffer(void* data, wl_proxy* offer, const char* type)
{
    auto* self = static_cast<DataControlPasteboard*>(data);
    auto announced = self->m_announced.find(offer);
    if (announced != self->m_announced.end())
        announced->append(QString::fromUtf8(type));
}

void DataControlPasteboard::onSelection(void* data, wl_proxy*, wl_proxy* offer)
{
    static_cast<DataControlPasteboard*>(data)->announced(Selection::Clipboard, offer);
}

void DataControlPasteboard::onPrimarySelection(void* data, wl_proxy*, wl_proxy* offer)
{
    static_cast<DataControlPasteboard*>(data)->announced(Selection::Primary, offer);
}

void DataControlPasteboard::announced(Selection which, wl_proxy* offer)
{
    if (which == m_selection)
        takeSelection(offer);
    else
        forgetOffer(offer);
}

void DataControlPasteboard::onFinished(void* data, wl_proxy*)
{
    // The seat is gone; the device is no use any more.
    auto* self = static_cast<DataControlPasteboard*>(data);
    destroy(self->m_device, Protocol::DestroyDevice);
    self->m_device = nullptr;
    self->forgetSelection();
    ++self->m_changeCount;
}

void DataControlPasteboard::takeSelection(wl_proxy* offer)
{
    const bool confirmsOurWrite = m_confirmPending && (offer != nullptr) == (m_source != nullptr);
    m_confirmPending = m_confirmPending && !confirmsOurWrite;
    forgetSelection();
    if (offer) {
        m_offer = offer;
        m_types = m_announced.take(offer);
    }
    if (!confirmsOurWrite)
        ++m_changeCount;
}

void DataControlPasteboard::forgetOffer(wl_proxy* offer)
{
    if (!offer)
        return;
    m_announced.remove(offer);
    destroy(offer, Protocol::DestroyOffer);
}

void DataControlPasteboard::forgetSelection()
{
    if (m_offer)
        destroy(m_offer, Protocol::DestroyOffer);
    m_offer = nullptr;
    m_types.clear();
    m_ownerUnresponsive = false;
}

void DataControlPasteboard::onSend(void* data, wl_proxy* source, const char* type, int32_t fd)
{
    auto* self = static_cast<DataControlPasteboard*>(data);
    const Source* own = self->m_source.get();
    const QString wanted = QString::fromUtf8(type);
    if (own && own->proxy == source && own->bytes.contains(wanted))
        PipeWriter::start(fd, own->bytes.value(wanted), self);
    else
        ::close(fd);
}

void DataControlPasteboard::onCancelled(void* data, wl_proxy* source)
{
    auto* self = static_cast<DataControlPasteboard*>(data);
    destroy(source, Protocol::DestroySource);
    if (self->m_source && self->m_source->proxy == source)
        self->m_source.reset();
}

quint64 DataControlPasteboard::changeCount() const
{
    // The compositor's event for another program's copy waits on the socket until the event loop
    // reads it; a decision taken before that would overwrite a copy the user just made.
    if (m_device)
        m_connection.roundtrip(m_limits.confirmMs);
    return m_changeCount;
}

std::optional<QByteArray> DataControlPasteboard::data(const QString& type) const
{
    if (!m_types.contains(type))
        return std::nullopt;
    // Another program's copy cancels our source, so while it lives the selection is ours; reading
    // it through the compositor would wait on ourselves.
    if (m_source)
        return m_source->bytes.value(type);
    return receive(type);
}

std::optional<QByteArray> DataControlPasteboard::receive(const QString& type) const
{
    if (!m_offer || m_ownerUnresponsive)
        return std::nullopt;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return std::nullopt;
    // Only our end: the owner may well write with blocking calls.
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    wl_proxy_marshal_flags(m_offer, Protocol::Receive, nullptr, wl_proxy_get_version(m_offer), 0,
                           type.toUtf8().constData(), ends[1]);
    // libwayland sent a copy of the write end; the owner's end-of-data is ours closing too.
    ::close(ends[1]);
    m_connection.flush();

    std::optional<QByteArray> bytes = readPipe(ends[0], m_limits.transferMs);
    ::close(ends[0]);
    m_ownerUnresponsive = !bytes;
    return bytes;
}

std::optional<QString> DataControlPasteboard::plainText() const
{
    QMimeData mime;
    for (const QString& type : textTypes) {
        if (m_types.contains(type)) {
            mime.setData(QStringLiteral("text/plain"), data(type).value_or(QByteArray()));
            break;
        }
    }
    if (m_types.contains(QStringLiteral("text/html")))
        mime.setData(QStringLiteral("text/html"), data(QStringLiteral("text/html")).value_or(QByteArray()));
    return readableText(mime);
}

void DataControlPasteboard::write(const QList<PasteboardItem>& items)
{
    if (!m_device)
        return;
    auto source = items.isEmpty() ? nullptr : std::make_unique<Source>(items);
    if (source) {
        source->proxy = wl_proxy_marshal_flags(m_manager, Protocol::CreateDataSource, m_protocol->source,
                                               wl_proxy_get_version(m_manager), 0, nullptr);
        listen(source->proxy, listeners().source, this);
        for (const QString& type : std::as_const(source->types))
            wl_proxy_marshal_flags(source->proxy, Protocol::Offer, nullptr,
                                   wl_proxy_get_version(source->proxy), 0, type.toUtf8().constData());
    }
    const uint32_t request =
        m_selection == Selection::Primary ? Protocol::SetPrimarySelection : Protocol::SetSelection;
    wl_proxy_marshal_flags(m_device, request, nullptr, wl_proxy_get_version(m_device), 0,
                           source ? source->proxy : nullptr);
    // Only after the new selection: destroying the current one first would empty the clipboard.
    if (m_source)
        destroy(m_source->proxy, Protocol::DestroySource);
    m_source = std::move(source);

    forgetSelection();
    if (m_source)
        m_types = m_source->types;
    ++m_changeCount;
    m_confirmPending = true;
    if (m_connection.roundtrip(m_limits.confirmMs))
        m_confirmPending = false;
}
