#pragma once

#include "core/model/hotkey_routes.h"
#include "platform/key_source.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

// The hotkey through a session's routes in their order: the first one runs, and a route that reports
// a failure hands over to the next, started for the same listener and key. While a route waits for
// its desktop service, the next one runs beside it, so that no press is lost to the wait; the waiting
// one takes over alone when it answers (once no key is held on the other). Each change goes to
// statusChanged(), so the notices can say what happened and what works now.
class FallbackKeySource final : public QObject, public KeySource {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FallbackKeySource)

public:
    // Makes the source of one route; called for the first route at once and for each later one as
    // it takes over or stands in.
    using Build = std::function<std::unique_ptr<KeySource>(HotkeyRoute)>;

    FallbackKeySource(const HotkeyRoutes& routes, Build build, QObject* parent = nullptr);
    ~FallbackKeySource() override;

    const HotkeyRouteStatus& status() const { return m_status; }

    Reach start(KeySource::Listener& listener) override;
    void stop() override;
    void watch(PhysicalKey key) override;

signals:
    void statusChanged();

private:
    // One route's source and what it reports, told apart from the other route's.
    class Route;

    void failed(const Route& route, const QString& why);
    void answered(const Route& route);
    void released(const Route& route);
    std::unique_ptr<Route> make(HotkeyRoute route);
    void startSpare();
    void takeNext();

    HotkeyRoutes m_routes;
    Build m_build;
    HotkeyRouteStatus m_status;
    KeySource::Listener* m_listener = nullptr;
    std::optional<PhysicalKey> m_watched;
    bool m_failing = false;
    // The route waited for answered, and the stand-in goes once no key is held on it.
    bool m_spareRetiring = false;
    // Built last: making a route reads the members above.
    std::unique_ptr<Route> m_current;
    std::unique_ptr<Route> m_spare;
};
