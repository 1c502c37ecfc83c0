#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QString>

#include <functional>

class QObject;

// What the shortcut services' key sources share about the session bus.
namespace BusCalls {

// A signal of a service that a source hears while it runs.
struct Signal {
    QString path;
    QString interface;
    QString name;
    const char* slot;
};

// Connects (or disconnects) each signal of service to its slot on receiver.
void listen(QDBusConnection& bus, const QString& service, const QList<Signal>& signals_, QObject* receiver,
            bool on);

// Sends the call without waiting: the service may be slow to answer, and the main thread must not
// stall. A refusal, naming `who`, goes to `refused` where given, else to timing.log.
void send(QDBusConnection& bus, const QDBusMessage& call, QObject* context, const QString& who,
          const std::function<void(const QString&)>& refused = {});

} // namespace BusCalls
