#pragma once

#include "core/model/hotkey_routes.h"
#include "platform/key_source.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

// The hotkey through a session's routes in their order: the first one runs, and a route that reports
// a failure hands over to the next, started for the same listener and key. Each change goes to
// statusChanged(), so the notices can say what happened and what works now.
class FallbackKeySource final : public QObject, public KeySource, private KeySource::Listener {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FallbackKeySource)

public:
    // Makes the source of one route; called for the first route at once and for each later one as
    // it takes over.
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
    void keyPressed(PhysicalKey key) override;
    void keyReleased(PhysicalKey key) override;
    void sourceFailed(const QString& why) override;
    void takeNext();

    HotkeyRoutes m_routes;
    Build m_build;
    HotkeyRouteStatus m_status;
    std::unique_ptr<KeySource> m_source;
    KeySource::Listener* m_listener = nullptr;
    std::optional<PhysicalKey> m_watched;
    bool m_failing = false;
};
