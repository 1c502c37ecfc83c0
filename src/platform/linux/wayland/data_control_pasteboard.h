#pragma once

#include "platform/pasteboard.h"

#include <QHash>
#include <QObject>

#include <memory>

class WaylandConnection;
struct DataControlProtocol;
struct wl_proxy;

// The clipboard, or the primary selection, of a Wayland seat through the compositor's data-control
// protocol, which reads and owns it with no window of ours focused. Prefers the shared protocol over the
// wlroots one it replaced. Must be destroyed before the connection.
//
// Reading another program's data blocks the caller until the owner has written it all: an owner
// that has not finished within `transferMs` is given up on and its data is absent; the rest of
// that copy is then absent at once.
class DataControlPasteboard final : public QObject, public Pasteboard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DataControlPasteboard)

public:
    struct Limits {
        int transferMs = 1000;
        // For the compositor to confirm our own write.
        int confirmMs = 1000;
    };

    enum class Selection { Clipboard, Primary };

    // Whether the compositor offers a data-control protocol and a seat to use it on.
    static bool offeredBy(WaylandConnection& connection);

    explicit DataControlPasteboard(WaylandConnection& connection, QObject* parent = nullptr);
    DataControlPasteboard(WaylandConnection& connection, Limits limits,
                          Selection selection = Selection::Clipboard, QObject* parent = nullptr);
    ~DataControlPasteboard() override;

    // False when the compositor offers no data-control protocol, no seat or, for the primary
    // selection, a protocol too old for it: the selection then reads as empty and writes go nowhere.
    bool ready() const { return m_device != nullptr; }

    // Reads what the compositor has sent first, so a copy made just now counts.
    quint64 changeCount() const override;
    QStringList types() const override { return m_types; }
    std::optional<QByteArray> data(const QString& type) const override;
    std::optional<QString> plainText() const override;
    void write(const QList<PasteboardItem>& items) override;

private:
    struct Source;
    struct Listeners;

    static const Listeners& listeners();

    static void onDataOffer(void* data, wl_proxy* device, wl_proxy* offer);
    static void onSelection(void* data, wl_proxy* device, wl_proxy* offer);
    static void onFinished(void* data, wl_proxy* device);
    static void onPrimarySelection(void* data, wl_proxy* device, wl_proxy* offer);
    static void onOffer(void* data, wl_proxy* offer, const char* type);
    static void onSend(void* data, wl_proxy* source, const char* type, int32_t fd);
    static void onCancelled(void* data, wl_proxy* source);

    // An announced selection, ours to follow when it is the one this board is for.
    void announced(Selection which, wl_proxy* offer);
    void takeSelection(wl_proxy* offer);
    void forgetOffer(wl_proxy* offer);
    void forgetSelection();
    std::optional<QByteArray> receive(const QString& type) const;

    WaylandConnection& m_connection;
    const Limits m_limits;
    const Selection m_selection;
    const DataControlProtocol* m_protocol = nullptr;
    wl_proxy* m_manager = nullptr;
    wl_proxy* m_device = nullptr;
    // Offers announced but not yet made the selection, with their types so far.
    QHash<wl_proxy*, QStringList> m_announced;
    wl_proxy* m_offer = nullptr;      // the selection as the compositor last announced it
    std::unique_ptr<Source> m_source; // ours, until another copy cancels it
    QStringList m_types;
    quint64 m_changeCount = 0;
    // Our write's own selection event is still to come and is no change of its own.
    bool m_confirmPending = false;
    mutable bool m_ownerUnresponsive = false;
};
