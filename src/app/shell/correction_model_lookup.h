#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class AppState;
class EngineControl;

// Asks the engine which model a correction provider offers, so the settings can show it. Only the
// newest lookup may write its answer, and only while its base URL and key are still the ones asked.
class CorrectionModelLookup final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CorrectionModelLookup)

public:
    CorrectionModelLookup(AppState& state, EngineControl& engine, QObject* parent = nullptr);

    // Without a base URL the configuration's current correction base is asked.
    void refresh(const QString& key, const std::optional<QString>& baseURL);
    // A base URL on the API host of one of the hosted providers, which needs a key to answer.
    static bool isHosted(const QString& baseURL);

private:
    void reset(const QString& base);

    AppState& m_state;
    EngineControl& m_engine;
    std::optional<QString> m_lookupKey;
    quint64 m_generation = 0;
    bool m_inFlight = false;
    // Destroying it aborts the request under way.
    QPointer<QObject> m_running;
};
