#include "platform/linux/hotkey/fallback_key_source.h"

#include "core/base/timing.h"

#include <set>

class FallbackKeySource::Route final : public KeySource::Listener {
public:
    Route(FallbackKeySource& owner, HotkeyRoute route, std::unique_ptr<KeySource> source)
        : route(route)
        , source(std::move(source))
        , m_owner(owner)
    {
    }

    const HotkeyRoute route;
    const std::unique_ptr<KeySource> source;
    bool failed = false;
    // Keys this route reported down and not yet up.
    std::set<PhysicalKey> held;

private:
    void keyPressed(PhysicalKey key) override
    {
        held.insert(key);
        if (m_owner.m_listener)
            m_owner.m_listener->keyPressed(key);
    }
    void keyReleased(PhysicalKey key) override
    {
        held.erase(key);
        if (m_owner.m_listener)
            m_owner.m_listener->keyReleased(key);
        m_owner.released(*this);
    }
    void buttonPressed() override
    {
        if (m_owner.m_listener)
            m_owner.m_listener->buttonPressed();
    }
    void sourceFailed(const QString& why) override
    {
        failed = true;
        m_owner.failed(*this, why);
    }
    void sourceAnswered() override { m_owner.answered(*this); }

    FallbackKeySource& m_owner;
};

FallbackKeySource::FallbackKeySource(const HotkeyRoutes& routes, Build build, QObject* parent)
    : QObject(parent)
    , m_routes(routes)
    , m_build(std::move(build))
    , m_status{.route = routes.first()}
    , m_current(make(m_status.route))
{
    Timing::mark(routes.describe());
    Timing::mark(QStringLiteral("hotkey: through %1").arg(HotkeyRouteText::names.text(m_status.route)));
}

FallbackKeySource::~FallbackKeySource()
{
    stop();
}

std::unique_ptr<FallbackKeySource::Route> FallbackKeySource::make(HotkeyRoute route)
{
    auto made = std::make_unique<Route>(*this, route, m_build(route));
    if (m_watched)
        made->source->watch(*m_watched);
    return made;
}

KeySource::Reach FallbackKeySource::start(KeySource::Listener& listener)
{
    m_listener = &listener;
    const Reach reach = m_current->source->start(*m_current);
    startSpare();
    return reach;
}

void FallbackKeySource::stop()
{
    m_listener = nullptr;
    m_current->source->stop();
    m_spare.reset();
    m_spareRetiring = false;
}

void FallbackKeySource::watch(PhysicalKey key)
{
    m_watched = key;
    m_current->source->watch(key);
    if (m_spare)
        m_spare->source->watch(key);
}

void FallbackKeySource::startSpare()
{
    if (m_spare || !m_listener || !m_current->source->waiting())
        return;
    const std::optional<HotkeyRoute> next = m_routes.after(m_current->route);
    if (!next)
        return;
    Timing::mark(QStringLiteral("hotkey: %1 stands in while %2 waits")
                     .arg(HotkeyRouteText::names.text(*next), HotkeyRouteText::names.text(m_current->route)));
    m_spare = make(*next);
    m_spare->source->start(*m_spare);
}

void FallbackKeySource::answered(const Route& route)
{
    if (&route != m_current.get() || !m_spare)
        return;
    Timing::mark(QStringLiteral("hotkey: %1 answered").arg(HotkeyRouteText::names.text(route.route)));
    // A key held on the stand-in would never be reported up: it stays until that key is.
    m_spareRetiring = true;
    released(*m_spare);
}

void FallbackKeySource::released(const Route& route)
{
    if (&route != m_spare.get() || !m_spareRetiring || !route.held.empty())
        return;
    // The stand-in may be on the stack that reported the release: it goes afterwards.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_spareRetiring && m_spare && m_spare->held.empty()) {
                m_spare.reset();
                m_spareRetiring = false;
            }
        },
        Qt::QueuedConnection);
}

void FallbackKeySource::failed(const Route& route, const QString& why)
{
    Timing::mark(QStringLiteral("hotkey: %1 failed: %2").arg(HotkeyRouteText::names.text(route.route), why));
    // A stand-in that fails is left alone: the route itself is built again if it has to take over.
    if (&route != m_current.get() || m_failing || !m_routes.after(m_status.route))
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
    m_current->source->stop();
    // The stand-in already runs for the listener and key.
    m_spareRetiring = false;
    if (m_spare && !m_spare->failed) {
        m_current = std::move(m_spare);
    } else {
        m_spare.reset();
        m_current = make(*next);
        if (m_listener)
            m_current->source->start(*m_current);
    }
    m_status.failed.append(m_status.route);
    m_status.route = *next;
    Timing::mark(QStringLiteral("hotkey: through %1").arg(HotkeyRouteText::names.text(m_status.route)));
    startSpare();
    emit statusChanged();
}
