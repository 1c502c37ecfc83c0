#pragma once

#include "core/state/app_commands.h"

// What the snapshot's views may ask of an application that is not running: nothing happens, every
// port is free and the speech server hears silence.
class DemoCommands final : public AppCommands {
public:
    void toggleRecording() override {}
    void openMain(std::optional<MainSection>) override {}
    void openSettings(SettingsPlace) override {}
    void openNotes() override {}
    void reloadEngine() override {}
    void lookupCorrectionModel(const QString&, const QString&) override {}
    void finishOnboarding() override {}
    void translateSelection(const QString&) override {}
    void applyOverlayChoice(const OverlayResultChoice&) override {}
    bool portFree(qint64) const override { return true; }
    void checkSpeechServer(QObject*, SpeechCheckDone done) override { done({true, {}}); }
};
