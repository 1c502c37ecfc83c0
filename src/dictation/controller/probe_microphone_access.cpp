#include "dictation/controller/probe_microphone_access.h"

#include "platform/permission_probe.h"

MicrophoneAccess::Status ProbeMicrophoneAccess::status() const
{
    return m_probe.microphoneAvailable() ? Status::Granted : Status::Denied;
}

void ProbeMicrophoneAccess::request(QObject* context, std::function<void(bool granted)> done)
{
    QMetaObject::invokeMethod(
        context, [done = std::move(done), granted = m_probe.microphoneAvailable()] { done(granted); },
        Qt::QueuedConnection);
}
