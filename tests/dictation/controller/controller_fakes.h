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

#include <algorithm>
#include <deque>
#include <functional>
#include <iterator>
#include <ostream>
#include <vector>

// Texts of the call records below, written as UTF-8 literals.
inline QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// One request to the engine; a polish carries what decides its answer.
struct SpeechRequest {
    enum class Kind { Transcribe, Polish };
    Kind kind;
    QString raw = {};
    std::optional<QString> selection = {};
    std::optional<QString> target = {};
    bool noteAnswer = false;

    static SpeechRequest transcribe() { return {Kind::Transcribe}; }
    // nullptr for no selection or no target language.
    static SpeechRequest polish(const char* raw, const char* selection = nullptr,
                                const char* target = nullptr, bool noteAnswer = false)
    {
        return {Kind::Polish, utf8(raw), text(selection), text(target), noteAnswer};
    }
    bool operator==(const SpeechRequest&) const = default;
    friend void PrintTo(const SpeechRequest& r, std::ostream* out)
    {
        *out << (r.kind == Kind::Transcribe ? "transcribe" : "polish(" + r.raw.toStdString() + ")")
             << (r.selection ? " on " + r.selection->toStdString() : "")
             << (r.target ? " into " + r.target->toStdString() : "") << (r.noteAnswer ? " for a note" : "");
    }

private:
    static std::optional<QString> text(const char* chars)
    {
        return chars ? std::optional(utf8(chars)) : std::nullopt;
    }
};

// A recording handed over while it is made: what it carried so far.
class FakeSpeechStream final : public SpeechStream {
public:
    using SpeechStream::SpeechStream;
    void append(const QByteArray& pcm) override { carried += pcm; }
    QByteArray carried;
};

// Engine requests held until the test answers them; a request whose context is gone counts as aborted.
class FakeSpeechService final : public SpeechService {
public:
    struct Call {
        SpeechRequest request;
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
        calls.push_back(
            {SpeechRequest::transcribe(), context, [this, done](const EngineResult<QString>& r) {
                 if (r.ok())
                     done(Transcript{r.value(), heard.value_or(r.value()), byServer, serverFailure});
                 else
                     done(r.error());
             }});
    }
    // Opened only with `streams` set, as the engine opens them only for its own recogniser.
    SpeechStream* openStream(const QString&, QObject* parent) override
    {
        if (!streams)
            return nullptr;
        opened.append(new FakeSpeechStream(parent));
        return opened.back();
    }
    void transcribeStream(SpeechStream* stream, const QByteArray& wav, const QString& language,
                          QObject* context, TranscriptDone done) override
    {
        stream->setParent(context);
        finished.append(dynamic_cast<FakeSpeechStream*>(stream));
        transcribe(wav, language, context, std::move(done));
    }
    void polish(const QString& raw, const std::optional<QString>& selection, const QuendaConfig&,
                const std::optional<QString>& target, bool noteAnswer, QObject* context, Done done) override
    {
        calls.push_back(
            {{SpeechRequest::Kind::Polish, raw, selection, target, noteAnswer}, context, std::move(done)});
    }

    // Answers the oldest open request of that kind, or equal to that request, or of any kind, as
    // the engine would if the context were still there.
    bool answer(SpeechRequest::Kind kind, const EngineResult<QString>& result)
    {
        return answerFirst([kind](const SpeechRequest& r) { return r.kind == kind; }, result);
    }
    bool answer(const SpeechRequest& request, const EngineResult<QString>& result)
    {
        return answerFirst([&request](const SpeechRequest& r) { return r == request; }, result);
    }
    bool answerAny(const EngineResult<QString>& result)
    {
        return answerFirst([](const SpeechRequest&) { return true; }, result);
    }
    int open() const
    {
        return int(std::count_if(calls.begin(), calls.end(),
                                 [](const Call& c) { return !c.answered && c.context; }));
    }
    QList<SpeechRequest> sent() const
    {
        QList<SpeechRequest> list;
        for (const Call& call : calls)
            list.append(call.request);
        return list;
    }

    bool isReady = true;
    bool canPolish = true;
    std::optional<QString> heard;
    // Which recogniser the engine says wrote the transcript, and why the speech server did not.
    bool byServer = false;
    std::optional<QString> serverFailure;
    int prewarms = 0;
    std::deque<Call> calls;
    bool streams = false;
    // Streams in the order they were opened, and those a transcription finished; gone once dropped.
    QList<QPointer<FakeSpeechStream>> opened;
    QList<QPointer<FakeSpeechStream>> finished;

private:
    bool answerFirst(const std::function<bool(const SpeechRequest&)>& matches,
                     const EngineResult<QString>& result)
    {
        for (Call& call : calls)
            if (!call.answered && matches(call.request)) {
                call.answered = true;
                if (call.context)
                    call.done(result);
                return true;
            }
        return false;
    }
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

// One call the controller made of the inserter.
struct InserterCall {
    enum class Kind { Remember, Capture, Insert, Replace, Copy, ReplaceSelection, InsertAtCursor };
    Kind kind;
    QString text = {};
    QString detail = {}; // what replaces `text`, or the application a cursor insert falls back to

    static InserterCall insert(const char* text) { return {Kind::Insert, utf8(text)}; }
    static InserterCall replace(const char* text, const char* by)
    {
        return {Kind::Replace, utf8(text), utf8(by)};
    }
    static InserterCall copy(const char* text) { return {Kind::Copy, utf8(text)}; }
    static InserterCall replaceSelection(const char* text) { return {Kind::ReplaceSelection, utf8(text)}; }
    static InserterCall insertAtCursor(const char* text, const char* fallback)
    {
        return {Kind::InsertAtCursor, utf8(text), utf8(fallback)};
    }
    // A write into the focused application: a paste, a replacement or a clipboard set.
    bool writes() const { return kind != Kind::Remember && kind != Kind::Capture; }
    bool operator==(const InserterCall&) const = default;
    friend void PrintTo(const InserterCall& c, std::ostream* out)
    {
        *out << int(c.kind) << '(' << c.text.toStdString() << (c.detail.isEmpty() ? "" : ", ")
             << c.detail.toStdString() << ')';
    }
};

// Writes into a pretend field and logs every call; answers at once unless told to hold.
class FakeInserter final : public Inserter {
public:
    using Kind = InserterCall::Kind;

    void rememberInsertTarget() override { log.append({Kind::Remember}); }
    void insert(Shape shape, QObject*, Done<Inserted> done) override
    {
        log.append({Kind::Insert, shape(caret)});
        done({landing, caret});
    }
    void replacePreviousInsert(const QString& inserted, const QString& replacement, QObject*,
                               Done<WriteResult> done) override
    {
        log.append({Kind::Replace, inserted, replacement});
        done(replaceRefused ? WriteResult(QStringLiteral("refused")) : WriteResult(Written{}));
    }
    void copyToClipboard(const QString& text) override { log.append({Kind::Copy, text}); }
    void captureSelection(QObject* context, Done<std::optional<QString>> done) override
    {
        log.append({Kind::Capture});
        if (holdSelection)
            heldSelection = {context, std::move(done)};
        else
            done(selection);
    }
    void replaceRememberedSelection(const QString& text, QObject*, Done<WriteResult> done) override
    {
        log.append({Kind::ReplaceSelection, text});
        const WriteResult result =
            replaceRefused ? WriteResult(QStringLiteral("refused")) : WriteResult(Written{});
        if (holdWrites)
            heldWrite = [done, result] { done(result); };
        else
            done(result);
    }
    void insertAtRememberedCursor(Shape shape, const std::optional<QString>& fallback, QObject*,
                                  Done<Inserted> done) override
    {
        log.append({Kind::InsertAtCursor, shape(caret), fallback.value_or(QString())});
        done({landing, caret});
    }
    void focusTakesText(QObject*, Done<bool> done) override { done(focusEditable); }

    CaretContext caret; // what stands before the pretend field's caret

    // Delivers the held selection, unless its reader was cancelled.
    void releaseSelection(const std::optional<QString>& text)
    {
        if (heldSelection.first)
            heldSelection.second(text);
    }
    QList<InserterCall> writes() const
    {
        QList<InserterCall> out;
        std::copy_if(log.begin(), log.end(), std::back_inserter(out), std::mem_fn(&InserterCall::writes));
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
    QList<InserterCall> log;
};

// Silencing begun in a mode, or released.
using SilencerCall = std::optional<OthersAudio>;
inline constexpr SilencerCall released = std::nullopt;

class FakeSilencer final : public Silencer {
public:
    void begin(OthersAudio mode) override { log.append(mode); }
    void end() override { log.append(released); }
    QList<SilencerCall> log;
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
    void play(Sound sound) override { played.push_back(sound); }
    std::vector<Sound> played; // a std::vector: QList compares enums with memcmp, even when empty
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
