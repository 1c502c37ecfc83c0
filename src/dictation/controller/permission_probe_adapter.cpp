#include "dictation/controller/permission_probe_adapter.h"

#include "platform/permission_probe.h"

MicrophoneAccess::Status PermissionProbeAdapter::status() const
{
    return m_probe.microphoneAvailable() ? Status::Granted : Status::Denied;
}

void PermissionProbeAdapter::request(QObject* context, std::function<void(bool granted)> done)
{
    QMetaObject::invokeMethod(
        context, [done = std::move(done), granted = m_probe.microphoneAvailable()] { done(granted); },
        Qt::QueuedConnection);
}
