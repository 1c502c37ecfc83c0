#pragma once

#include "dictation/capture/recorder.h"
#include "dictation/controller/inserter.h"
#include "dictation/controller/learner.h"
#include "dictation/controller/microphone_access.h"
#include "dictation/controller/overlay_host.h"
#include "dictation/silence/silencer.h"
#include "platform/fake/fake_window_system.h"
#include "platform/sound_player.h"
#include "speech/speech_service.h"

#include <QPointer>
#include <QStringList>

#include <deque>

// Engine requests held until the test answers them; a request whose context is gone counts as aborted.
class FakeSpeechService final : public SpeechService {
public:
    struct Call {
        QString what; // "transcribe", or "polish:<raw>|<selection or ->|<target or ->|<note>"
        QPointer<QObject> context;
        Done done;
        bool answered = false;
    };

    bool ready() const override { return isReady; }
    bool polishAvailable() const override { return canPolish; }
    void prewarm() override { ++prewarms; }
    void transcribe(const QByteArray&, const QString&, QObject* context, TranscriptDone done) override
    {
        // Answered with the written text; the words heard are `heard` when set, else the same.
        calls.push_back({QStringLiteral("transcribe"), context, [this, done](const EngineResult<QString>& r) {
                             if (r.ok())
                                 done(Transcript{r.value(), heard.value_or(r.value())});
                             else
                                 done(r.error());
                         }});
    }
    void polish(const QString& raw, const std::optional<QString>& selection, const QuendaConfig&,
                const std::optional<QString>& target, bool noteAnswer, QObject* context, Done done) override
    {
        calls.push_back({QStringLiteral("polish:") + raw + u'|' + selection.value_or(QStringLiteral("-")) +
                             u'|' + target.value_or(QStringLiteral("-")) + u'|' + (noteAnswer ? u'n' : u'-'),
                         context, std::move(done)});
    }

    // Answers the oldest open request whose text starts with `what`, as the engine would if the
    // context were still there.
    bool answer(const QString& what, const EngineResult<QString>& result)
    {
        for (Call& call : calls)
            if (!call.answered && call.what.startsWith(what)) {
                call.answered = true;
                if (call.context)
                    call.done(result);
                return true;
            }
        return false;
    }
    int open() const
    {
        return int(std::count_if(calls.begin(), calls.end(),
                                 [](const Call& c) { return !c.answered && c.context; }));
    }
    QStringList sent() const
    {
        QStringList list;
        for (const Call& call : calls)
            list.append(call.what);
        return list;
    }

    bool isReady = true;
    bool canPolish = true;
    std::optional<QString> heard;
    int prewarms = 0;
    std::deque<Call> calls;
};

class FakeRecorder final : public Recorder {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeRecorder)

public:
    FakeRecorder() = default;
    Result<AudioFormat, QString> start() override
    {
        ++starts;
        if (failure)
            return *failure;
        recording = true;
        return AudioFormat{.sampleRate = 16'000, .channelCount = 1};
    }
    std::optional<QByteArray> stop() override
    {
        const bool was = std::exchange(recording, false);
        return was ? wav : std::nullopt;
    }

    std::optional<QString> failure;
    std::optional<QByteArray> wav = QByteArray("RIFF-recording");
    bool recording = false;
    int starts = 0;
};

// Writes into a pretend field and logs every call; answers at once unless told to hold.
class FakeInserter final : public Inserter {
public:
    void rememberInsertTarget() override { log.append(QStringLiteral("remember")); }
    void insert(const QString& text, QObject*, Done<Landing> done) override
    {
        log.append(QStringLiteral("insert:") + text);
        done(landing);
    }
    void replacePreviousInsert(const QString& inserted, const QString& replacement, QObject*,
                               Done<WriteResult> done) override
    {
        log.append(QStringLiteral("replace:") + inserted + QStringLiteral("->") + replacement);
        done(replaceRefused ? WriteResult(QStringLiteral("refused")) : WriteResult(Written{}));
    }
    void copyToClipboard(const QString& text) override { log.append(QStringLiteral("copy:") + text); }
    void caretContext(QObject*, Done<CaretContext> done) override { done(caret); }
    void captureSelection(QObject* context, Done<std::optional<QString>> done) override
    {
        log.append(QStringLiteral("capture"));
        if (holdSelection)
            heldSelection = {context, std::move(done)};
        else
            done(selection);
    }
    void replaceRememberedSelection(const QString& text, QObject*, Done<WriteResult> done) override
    {
        log.append(QStringLiteral("replaceSelection:") + text);
        const WriteResult result =
            replaceRefused ? WriteResult(QStringLiteral("refused")) : WriteResult(Written{});
        if (holdWrites)
            heldWrite = [done, result] { done(result); };
        else
            done(result);
    }
    void insertAtRememberedCursor(const QString& text, const std::optional<QString>& fallback, QObject*,
                                  Done<Landing> done) override
    {
        log.append(QStringLiteral("insertAtCursor:") + text + u'@' + fallback.value_or(QStringLiteral("-")));
        done(landing);
    }
    void focusTakesText(QObject*, Done<bool> done) override { done(focusEditable); }

    CaretContext caret; // what stands before the pretend field's caret

    // Delivers the held selection, unless its reader was cancelled.
    void releaseSelection(const std::optional<QString>& text)
    {
        if (heldSelection.first)
            heldSelection.second(text);
    }
    // The writes into the focused application: pastes, replacements and clipboard sets.
    QStringList writes() const
    {
        QStringList out;
        for (const QString& line : log)
            if (!line.startsWith(QStringLiteral("remember")) && !line.startsWith(QStringLiteral("capture")))
                out.append(line);
        return out;
    }

    Landing landing = Landing::Pasted;
    bool replaceRefused = false;
    std::optional<QString> selection;
    bool holdSelection = false;
    std::pair<QPointer<QObject>, Done<std::optional<QString>>> heldSelection;
    bool focusEditable = true;
    bool holdWrites = false; // a write into the remembered selection answers when released
    std::function<void()> heldWrite;
    QStringList log;
};

class FakeSilencer final : public Silencer {
public:
    void begin(OthersAudio mode) override
    {
        log.append(QStringLiteral("begin:") + OthersAudioText::table.text(mode));
    }
    void end() override { log.append(QStringLiteral("end")); }
    QStringList log;
};

class FakeLearner final : public Learner {
public:
    void watch(const QString& inserted, QObject* context, Learned learned) override
    {
        watched.append(inserted);
        m_context = context;
        m_learned = std::move(learned);
    }
    void stop() override { ++stops; }
    void learn(const QList<DictionaryItem>& items)
    {
        if (m_context)
            m_learned(items);
    }
    QStringList watched;
    int stops = 0;

private:
    QPointer<QObject> m_context;
    Learned m_learned;
};

class FakeSoundPlayer final : public SoundPlayer {
public:
    void play(Sound sound) override
    {
        played.append(sound == Sound::Start ? QStringLiteral("start") : QStringLiteral("stop"));
    }
    QStringList played;
};

class FakeMicrophone final : public MicrophoneAccess {
public:
    Status status() const override { return state; }
    void request(QObject* context, std::function<void(bool)> done) override
    {
        m_context = context;
        m_done = std::move(done);
    }
    void answer(bool granted)
    {
        state = granted ? Status::Granted : Status::Denied;
        if (m_context)
            m_done(granted);
    }
    Status state = Status::Granted;

private:
    QPointer<QObject> m_context;
    std::function<void(bool)> m_done;
};

class FakeOverlayHost final : public OverlayHost {
public:
    void reshape() override { ++reshapes; }
    bool panelHoldsFocus() const override { return focused; }
    void resignFocus() override { focused = false, ++resigned; }
    bool focused = false;
    int reshapes = 0;
    int resigned = 0;
};
