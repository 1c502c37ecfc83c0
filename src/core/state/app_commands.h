#pragma once

#include "core/model/main_section.h"
#include "core/model/overlay_result.h"
#include "core/model/speech_server.h"

#include <QString>

#include <functional>
#include <optional>

class QObject;

// What the views ask of the application beyond reading and writing the shared state. The shell
// implements it; the windows and the page table hand it to the views that act.
class AppCommands {
public:
    using SpeechCheckDone = std::function<void(const SpeechCheck&)>;

    virtual ~AppCommands() = default;

    // Starts or stops a hands-free recording.
    virtual void toggleRecording() = 0;
    // The main window, on section when one is given.
    virtual void openMain(std::optional<MainSection> section) = 0;
    // The main window on the settings page, scrolled to place.
    virtual void openSettings(SettingsPlace place) = 0;
    // Where a saved note is shown.
    virtual void openNotes() = 0;
    virtual void reloadEngine() = 0;
    virtual void lookupCorrectionModel(const QString& key, const QString& baseURL) = 0;
    virtual void finishOnboarding() = 0;
    virtual void translateSelection(const QString& code) = 0;
    virtual void applyOverlayChoice(const OverlayResultChoice& choice) = 0;
    // Whether the engine could listen on this port of the loopback interface.
    virtual bool portFree(qint64 port) const = 0;
    // What the speech server of the configuration in force makes of a moment of silence; `done`
    // runs later, never once `context` is gone.
    virtual void checkSpeechServer(QObject* context, SpeechCheckDone done) = 0;

protected:
    AppCommands() = default;
    AppCommands(const AppCommands&) = default;
    AppCommands& operator=(const AppCommands&) = default;
};
