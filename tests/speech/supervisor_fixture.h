#pragma once

#include "fake_provider_keys.h"
#include "manual_clock.h"
#include "qstring_printer.h"
#include "speech_engine.h"
#include "support/temp_support_dir.h"

#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// A support folder and a resource folder with stub engine resources: a fake engine module that
// serves /health from "fake-health.json" and logs each launch, and a setup script built per test.
class SupervisorTest : public TempSupportDir {
protected:
    static constexpr const char* kRecordSetup = "echo \"setup ran\"\necho run >> \"$2/setup-runs\"\nprintf "
                                                "'%s\\n' \"$1\" \"$2\" \"$3\" > \"$2/setup-args\"\n";
    static constexpr const char* kWaitForGo = "while [ ! -e \"$2/go\" ]; do sleep 0.01; done\n";
    static constexpr const char* kInstall =
        "mkdir -p \"$2/.venv/bin\"\nln -sf /usr/bin/python3 \"$2/.venv/bin/python\"\n"
        "cp -R \"$1/quenda_engine\" \"$2/\"\nprintf '%s\\n' \"$3\" > \"$2/engine.version\"\n";

    void SetUp() override;
    void TearDown() override;

    SpeechEngine& engine();
    void makeEngine(const EngineLocations& locations);
    QString resourceFile(const QString& name) const;
    void writeSetupScript(const QByteArray& body);
    // What a successful setup leaves behind, made by hand.
    void installEnvironment(const QByteArray& version = "1.0.0");
    void writeInterpreter(const QByteArray& script);
    QList<QJsonObject> launches() const;
    int setupRuns() const;
    QList<QProcess*> processes();
    // Runs the health poll second by second on the manual clock until done() holds.
    bool pollUntil(const std::function<bool()>& done);
    static bool waitFor(const std::function<bool()>& done, int ms = 8000);
    static QString text(const char* key);
    bool isReady();

    ManualClock m_clock;
    FakeProviderKeys m_keys;
    QTemporaryDir m_resources;
    QuendaConfig m_config;
    int m_updates = 0;
    QStringList m_history;

private:
    std::unique_ptr<SpeechEngine> m_engine;
};
