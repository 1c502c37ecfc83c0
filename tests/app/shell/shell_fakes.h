#pragma once

#include "speech/engine_control.h"
#include "speech/provider_keys.h"
#include "ui/shell/shell_windows.h"

#include <QPointer>
#include <QStringList>

#include <functional>
#include <vector>

// An engine whose state a test sets and whose model lookups it answers by hand.
class FakeEngineControl final : public EngineControl {
public:
    struct Lookup {
        QString key;
        QString baseURL;
        QPointer<QObject> context;
        EngineClient::Done<CorrectionModelBody> done;
    };

    bool ready() const override { return m_ready; }
    bool polishAvailable() const override { return m_polish; }
    const QString& statusText() const override { return m_status; }
    bool statusIsLoading() const override { return m_loading; }
    enum class Call { Start, Restart, Shutdown, Prewarm };

    void start() override { calls.push_back(Call::Start); }
    void restart() override { calls.push_back(Call::Restart); }
    void shutdown() override { calls.push_back(Call::Shutdown); }
    void prewarm() override { calls.push_back(Call::Prewarm); }
    void correctionModel(const QString& apiKey, const QString& baseURL, QObject* context,
                         EngineClient::Done<CorrectionModelBody> done) override
    {
        lookups.append({apiKey, baseURL, context, std::move(done)});
    }
    void checkSpeechServer(QObject* context, EngineClient::Done<QString> done) override
    {
        checks.append({context, std::move(done)});
    }
    // Answers lookup `index` as the engine would: never for a destroyed context.
    void answer(int index, const EngineResult<CorrectionModelBody>& result)
    {
        if (lookups.at(index).context)
            lookups.at(index).done(result);
    }

    bool m_ready = false;
    bool m_polish = false;
    QString m_status = QStringLiteral("Loading");
    bool m_loading = true;
    std::vector<Call> calls; // a std::vector: QList compares enums with memcmp, even when empty
    QList<Lookup> lookups;
    QList<std::pair<QPointer<QObject>, EngineClient::Done<QString>>> checks;
};

class FakeProviderKeys final : public ProviderKeys {
public:
    QString generalKey() const override { return general; }
    QString key(const CorrectionEndpoint&) const override { return general; }
    QString speechKey() const override { return {}; }
    QString general;
};

// Records what the shell asked of its windows.
class FakeShellWindows final : public ShellWindows {
public:
    enum class Window { Main, Onboarding };

    bool installStatusItem() override { return tray; }
    void refreshStatusIcon() override { ++iconRedraws; }
    void showMain() override { shown.push_back(Window::Main); }
    std::optional<quint64> mainWindowHandle() const override { return mainHandle; }
    void showOnboarding() override
    {
        shown.push_back(Window::Onboarding);
        onboardingOpen = true;
    }
    void closeOnboarding() override
    {
        if (!onboardingOpen)
            return;
        onboardingOpen = false;
        emit onboardingClosed();
    }
    void closeMenu() override { menu = false; }
    bool menuOpen() const override { return menu; }

    bool tray = true;
    bool onboardingOpen = false;
    std::optional<quint64> mainHandle;
    bool menu = false;
    int iconRedraws = 0;
    std::vector<Window> shown;
};
