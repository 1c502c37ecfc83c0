#include "platform/linux/hotkey/bus_calls.h"

#include "core/base/timing.h"

#include <QDBusPendingCallWatcher>

void BusCalls::listen(QDBusConnection& bus, const QString& service, const QList<Signal>& signals_,
                      QObject* receiver, bool on)
{
    for (const Signal& signal : signals_) {
        if (on)
            bus.connect(service, signal.path, signal.interface, signal.name, receiver, signal.slot);
        else
            bus.disconnect(service, signal.path, signal.interface, signal.name, receiver, signal.slot);
    }
}

void BusCalls::send(QDBusConnection& bus, const QDBusMessage& call, QObject* context, const QString& who,
                    const std::function<void(const QString&)>& refused)
{
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), context);
    const QString method = call.member();
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [who, method, refused](QDBusPendingCallWatcher* done) {
                         done->deleteLater();
                         if (!done->isError())
                             return;
                         const QString why =
                             QStringLiteral("%1 refused %2: %3").arg(who, method, done->error().message());
                         if (refused)
                             refused(why);
                         else
                             Timing::mark(QStringLiteral("hotkey: ") + why);
                     });
}
