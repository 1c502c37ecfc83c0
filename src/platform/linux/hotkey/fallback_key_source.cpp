#include "platform/linux/hotkey/fallback_key_source.h"

#include "core/base/timing.h"

FallbackKeySource::FallbackKeySource(const HotkeyRoutes& routes, Build build, QObject* parent)
    : QObject(parent)
    , m_routes(routes)
    , m_build(std::move(build))
    , m_status{.route = routes.first()}
    , m_source(m_build(m_status.route))
{
    Timing::mark(routes.describe());
    Timing::mark(QStringLiteral("hotkey: through %1").arg(HotkeyRouteText::names.text(m_status.route)));
}

FallbackKeySource::~FallbackKeySource()
{
    stop();
}

KeySource::Reach FallbackKeySource::start(KeySource::Listener& listener)
{
    m_listener = &listener;
    return m_source->start(*this);
}

void FallbackKeySource::stop()
{
    m_listener = nullptr;
    m_source->stop();
}

void FallbackKeySource::watch(PhysicalKey key)
{
    m_watched = key;
    m_source->watch(key);
}

void FallbackKeySource::keyPressed(PhysicalKey key)
{
    if (m_listener)
        m_listener->keyPressed(key);
}

void FallbackKeySource::keyReleased(PhysicalKey key)
{
    if (m_listener)
        m_listener->keyReleased(key);
}

void FallbackKeySource::sourceFailed(const QString& why)
{
    Timing::mark(
        QStringLiteral("hotkey: %1 failed: %2").arg(HotkeyRouteText::names.text(m_status.route), why));
    if (m_failing || !m_routes.after(m_status.route))
        return;
    m_failing = true;
    // The failing source is still on the stack that reported it: it is replaced afterwards.
    QMetaObject::invokeMethod(this, &FallbackKeySource::takeNext, Qt::QueuedConnection);
}

void FallbackKeySource::takeNext()
{
    m_failing = false;
    const std::optional<HotkeyRoute> next = m_routes.after(m_status.route);
    if (!next)
        return;
    m_source->stop();
    m_source = m_build(*next);
    m_status.failed.append(m_status.route);
    m_status.route = *next;
    Timing::mark(QStringLiteral("hotkey: through %1").arg(HotkeyRouteText::names.text(m_status.route)));
    if (m_watched)
        m_source->watch(*m_watched);
    if (m_listener)
        m_source->start(*this);
    emit statusChanged();
}
