#pragma once

#include "core/state/app_commands.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <utility>

// Records what the views ask of the application; answers the port and speech checks as a test sets.
class RecordingAppCommands final : public AppCommands {
public:
    void toggleRecording() override { ++toggles; }
    void openMain(std::optional<MainSection> section) override
    {
        opened << section;
        if (onOpenMain)
            onOpenMain(section);
    }
    void openSettings(SettingsPlace place) override { settingsOpened << place; }
    void openNotes() override { ++notesOpened; }
    void reloadEngine() override { ++reloads; }
    void lookupCorrectionModel(const QString& key, const QString& baseURL) override
    {
        lookups << key + u'@' + baseURL;
    }
    void finishOnboarding() override { ++onboardingsFinished; }
    void translateSelection(const QString& code) override
    {
        if (onTranslate)
            onTranslate(code);
        translations << code;
    }
    void applyOverlayChoice(const OverlayResultChoice& choice) override
    {
        if (onChoice)
            onChoice(choice);
        choices << choice;
    }
    bool portFree(qint64 port) const override { return !takenPorts.contains(port); }
    void checkSpeechServer(QObject* context, SpeechCheckDone done) override
    {
        speechChecks.append({context, std::move(done)});
    }

    int toggles = 0;
    QList<std::optional<MainSection>> opened;
    QList<SettingsPlace> settingsOpened;
    int notesOpened = 0;
    int reloads = 0;
    QStringList lookups; // "key@baseURL"
    int onboardingsFinished = 0;
    QStringList translations;
    QList<OverlayResultChoice> choices;
    // Each asked check with its context; a test answers through done.
    QList<std::pair<QPointer<QObject>, SpeechCheckDone>> speechChecks;

    // The ports taken; every other is free.
    QList<qint64> takenPorts;
    // Run at the call, for a test that looks at the state at that moment.
    std::function<void(std::optional<MainSection>)> onOpenMain;
    std::function<void(const QString&)> onTranslate;
    std::function<void(const OverlayResultChoice&)> onChoice;
};
