#include "platform/linux/gnome/mutter_pasteboard.h"

#include "platform/linux/clipboard/mime_text.h"
#include "platform/linux/clipboard/pipe_transfer.h"
#include "platform/linux/gnome/mutter_remote_desktop.h"

#include <QDBusArgument>
#include <QDBusUnixFileDescriptor>
#include <QDeadlineTimer>
#include <QDebug>
#include <QMimeData>
#include <QThread>

namespace {

const QString mimeTypesKey = QStringLiteral("mime-types");
const QString plainType = QStringLiteral("text/plain");
// GTK reads text only under this name; our text/plain is UTF-8.
const QString utf8PlainType = QStringLiteral("text/plain;charset=utf-8");
// A type nobody reads, the compositor's own clipboard keeper included: it copies text and images
// from every new owner and puts them back once the owner leaves, which would undo a clear.
const QString clearingType = QStringLiteral("application/x-quenda-clearing");
// Where the plain text is looked for.
const QStringList textTypes{utf8PlainType, plainType, QStringLiteral("text/html")};
// The compositor's answer to a read while its previous one is still open.
const QString parallelReadRefused = QStringLiteral("org.freedesktop.DBus.Error.LimitsExceeded");

// The compositor sends the offered types wrapped in a structure of one member.
QStringList offeredTypes(const QVariant& value)
{
    if (value.metaType() != QMetaType::fromType<QDBusArgument>())
        return value.toStringList();
    const auto argument = value.value<QDBusArgument>();
    QStringList types;
    if (argument.currentType() == QDBusArgument::StructureType) {
        argument.beginStructure();
        argument >> types;
        argument.endStructure();
    } else {
        argument >> types;
    }
    return types;
}

QStringList typesOf(const QList<PasteboardItem>& items)
{
    QStringList types;
    for (const PasteboardItem& item : items) {
        if (!types.contains(item.type))
            types << item.type;
    }
    return types;
}

} // namespace

MutterPasteboard::MutterPasteboard(MutterRemoteDesktop& desktop, QObject* parent)
    : QObject(parent)
    , m_desktop(desktop)
{
    connect(&m_desktop, &MutterRemoteDesktop::started, this, [this] { enable(); });
    connect(&m_desktop, &MutterRemoteDesktop::closed, this, [this] {
        // Whatever happens to the clipboard from now on goes unseen.
        ++m_changeCount;
        m_ours = false;
        m_types.clear();
    });
    connect(&m_desktop, &MutterRemoteDesktop::selectionOwnerChanged, this, &MutterPasteboard::ownerChanged);
    connect(&m_desktop, &MutterRemoteDesktop::selectionTransfer, this, &MutterPasteboard::transfer);
    enable();
}

bool MutterPasteboard::enable()
{
    const auto session = m_desktop.session(); // a new session enables the clipboard through started()
    if (!session.ok()) {
        m_unavailable = session.error().reason;
        return false;
    }
    if (m_enabledGeneration == m_desktop.generation())
        return true;
    const auto enabled = m_desktop.call(QStringLiteral("EnableClipboard"), {QVariantMap()});
    if (!enabled.ok()) {
        m_unavailable = enabled.error().reason;
        return false;
    }
    m_unavailable.clear();
    m_enabledGeneration = m_desktop.generation();
    // The offer on the clipboard now came before the reply.
    m_desktop.deliverReceivedSignals();
    return true;
}

void MutterPasteboard::ownerChanged(const QVariantMap& options)
{
    if (options.value(QStringLiteral("session-is-owner")).toBool()) {
        // Our own write, counted when it was made.
        m_ours = true;
        m_types = typesOf(m_written);
        return;
    }
    const bool empty = !options.contains(mimeTypesKey);
    if (!(empty && m_releasing))
        ++m_changeCount;
    m_ours = false;
    m_types = empty ? QStringList() : offeredTypes(options.value(mimeTypesKey));
}

quint64 MutterPasteboard::changeCount() const
{
    m_desktop.deliverReceivedSignals();
    return m_changeCount;
}

QStringList MutterPasteboard::types() const
{
    m_desktop.deliverReceivedSignals();
    return m_types;
}

std::optional<QByteArray> MutterPasteboard::data(const QString& type) const
{
    if (!types().contains(type))
        return std::nullopt;
    if (m_ours) {
        for (const PasteboardItem& item : m_written) {
            if (item.type == type)
                return item.data;
        }
        return std::nullopt;
    }
    return readOffered(type);
}

std::optional<QByteArray> MutterPasteboard::readOffered(const QString& type) const
{
    // The compositor refuses a read until it has wound up the one before, a moment after that one's
    // last byte reached us; reading type after type runs into this, so the refusal is waited out.
    // A read we gave up on stays open while its owner keeps silent, so after one it is final.
    const QDeadlineTimer deadline(transferLimitMs);
    auto reply = m_desktop.call(QStringLiteral("SelectionRead"), {type});
    while (!reply.ok() && reply.error().errorName == parallelReadRefused && !m_readAbandoned &&
           !deadline.hasExpired()) {
        QThread::msleep(1);
        reply = m_desktop.call(QStringLiteral("SelectionRead"), {type});
    }
    if (!reply.ok() || reply.value().arguments().isEmpty())
        return std::nullopt;
    const auto fd = reply.value().arguments().constFirst().value<QDBusUnixFileDescriptor>();
    if (!fd.isValid())
        return std::nullopt;
    std::optional<QByteArray> bytes = readPipe(fd.fileDescriptor(), transferLimitMs);
    m_readAbandoned = !bytes;
    return bytes;
}

std::optional<QString> MutterPasteboard::plainText() const
{
    QMimeData mime;
    for (const QString& type : textTypes) {
        if (auto bytes = data(type))
            mime.setData(type, *bytes);
    }
    return readableText(mime);
}

PasteboardSnapshot MutterPasteboard::snapshot() const
{
    PasteboardSnapshot snapshot;
    QMimeData mime;
    // The compositor serves one read at a time, each a round trip to the owner: each type is read
    // once, and the text comes from what was read rather than from reading its types again.
    for (const QString& type : types()) {
        std::optional<QByteArray> bytes = data(type);
        if (!bytes || bytes->isEmpty())
            continue;
        if (textTypes.contains(type))
            mime.setData(type, *bytes);
        snapshot.items.append({type, std::move(*bytes)});
    }
    snapshot.text = readableText(mime);
    return snapshot;
}

void MutterPasteboard::write(const QList<PasteboardItem>& items)
{
    // Copies by others that arrived before this write count as theirs, before ours.
    m_desktop.deliverReceivedSignals();
    ++m_changeCount;
    m_written = items;
    if (!enable()) {
        qWarning().noquote() << "clipboard not written:" << m_unavailable;
        return;
    }
    if (items.isEmpty()) {
        // A session may only withdraw its own offer: it takes the clipboard with a placeholder
        // it will not serve, then lets go, which leaves it empty.
        offer({clearingType});
        m_releasing = true;
        const auto released = m_desktop.call(QStringLiteral("SetSelection"), {QVariantMap()});
        m_desktop.deliverReceivedSignals();
        m_releasing = false;
        if (!released.ok())
            qWarning().noquote() << "clipboard not cleared:" << released.error().reason;
        return;
    }
    QStringList types = typesOf(items);
    if (types.contains(plainType) && !types.contains(utf8PlainType))
        types << utf8PlainType;
    offer(types);
}

void MutterPasteboard::offer(const QStringList& types)
{
    const auto offered =
        m_desktop.call(QStringLiteral("SetSelection"), {QVariantMap{{mimeTypesKey, QVariant(types)}}});
    // Our notice came before the reply; taking it in now keeps it from looking like someone else's.
    m_desktop.deliverReceivedSignals();
    if (!offered.ok())
        qWarning().noquote() << "clipboard not written:" << offered.error().reason;
}

void MutterPasteboard::transfer(const QString& type, uint serial)
{
    const auto handed = m_desktop.call(QStringLiteral("SelectionWrite"), {serial});
    if (!handed.ok() || handed.value().arguments().isEmpty())
        return;
    const auto fd = handed.value().arguments().constFirst().value<QDBusUnixFileDescriptor>();
    const QString served = type == utf8PlainType && !typesOf(m_written).contains(type) ? plainType : type;
    bool written = false;
    for (const PasteboardItem& item : m_written) {
        if (item.type == served && m_ours) {
            written = fd.isValid() && writePipe(fd.fileDescriptor(), item.data, transferLimitMs);
            break;
        }
    }
    m_desktop.call(QStringLiteral("SelectionWriteDone"), {serial, written});
}
