#pragma once

#include "core/base/clock.h"
#include "core/base/guarded_reply.h"
#include "core/base/result.h"
#include "core/text/caret_context.h"
#include "dictation/insert/insert_result.h"
#include "dictation/insert/paste_target.h"
#include "dictation/insert/remembered_insert.h"
#include "platform/accessibility.h"
#include "platform/key_synthesizer.h"
#include "platform/window_system.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <variant>

class CopyProbe;
class Pasteboard;
class PasteCycle;
class PermissionProbe;

// Puts dictated text into the focused field of another application by pasting it, keeps the
// user's clipboard safe around the paste, and reads or writes the field the dictation started in.
// Main thread only; every answer arrives later through `done`, never once `context` is gone.
class TextInserter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TextInserter)

public:
    struct Services {
        Accessibility& accessibility;
        KeySynthesizer& keys;
        Pasteboard& pasteboard;
        WindowSystem& windows;
        PermissionProbe& permissions;
        Clock& clock;
        qint64 ownPid = 0;
        // The primary selection, where the session lets us write it; Shift+Insert pastes from it.
        Pasteboard* primary = nullptr;
    };

    enum class ReplaceFailure {
        NoAccess,         // accessibility is not granted
        RawNotFound,      // the raw text no longer ends at the caret
        SelectionRefused, // the field would not select it
        ReadBackDiffers,  // the selection read back otherwise; the caret is put after the raw text
        ChordFailed,      // the paste chord could not be posted; the raw text stays
    };
    using Replaced = Result<std::monostate, ReplaceFailure>;

    enum class WriteBackFailure {
        NothingRemembered,
        FieldChanged, // the user edited the field since the start
        NotSettable,
        Refused,
    };
    using WrittenBack = Result<std::monostate, WriteBackFailure>;

    struct ActivationFailure {
        // Nothing remembered still runs and no fallback does either; else the window system's.
        std::optional<WindowSystem::Failure> failure;
    };
    using Activation = Result<AppWindow, ActivationFailure>;

    template <typename T> using Done = std::function<void(const T&)>;
    // Fits a text to the place it goes from what stands before the caret there; pure, as it may
    // run on the accessibility thread.
    using Shape = std::function<QString(const CaretContext&)>;

    static constexpr int activationDelayMs = 180;
    // Windows whose last paste of ours is remembered, the most recent ones.
    static constexpr int rememberedWindows = 8;

    explicit TextInserter(Services services, QObject* parent = nullptr);
    ~TextInserter() override;

    // Reads the focused field once and pastes the text shaped for what stands before its caret
    // (read through accessibility where the field offers its text, else what we pasted last into
    // that window while nothing was typed there since, else unknown); without access the text is
    // left on the clipboard.
    void insert(const Shape& shape, QObject* context, Done<InsertResult> done);
    void insert(const QString& text, QObject* context, Done<InsertResult> done);
    // Swaps the raw text that was just pasted for the polished one, in place, once the raw text
    // shows in the field (the application may take the paste in a moment after the chord).
    void replacePreviousInsert(const QString& raw, const QString& polished, QObject* context,
                               Done<Replaced> done);
    // Leaves `text` on the clipboard for good.
    void copyToClipboard(const QString& text);
    // Only a key source that reports every key typed can tell that a paste no longer stands
    // before the caret, through userTyped(); without one, no paste is remembered for that.
    void rememberPastes(bool on);
    // A key went to the active window: our last paste there no longer ends at its caret.
    void userTyped();

    // Remembers the focused field of another application as the dictation's target.
    void rememberInsertTarget();
    // The text selected in the focused application, or none.
    void captureSelection(QObject* context, Done<std::optional<QString>> done);
    // Writes `text` over the remembered selection while the field still reads as it did.
    void replaceRememberedSelection(const QString& text, QObject* context, Done<WrittenBack> done);
    // Brings the remembered application, or else the fallback application, to the front.
    Activation activateRememberedApp(const std::optional<QString>& fallbackAppId);
    // Activates, waits a moment, and writes the text, shaped for its place there, into the
    // remembered field or pastes it.
    void insertAtRememberedCursor(const Shape& shape, const std::optional<QString>& fallbackAppId,
                                  QObject* context, Done<InsertResult> done);
    void insertAtRememberedCursor(const QString& text, const std::optional<QString>& fallbackAppId,
                                  QObject* context, Done<InsertResult> done);

signals:
    // The user's clipboard text that our text replaced for good (never a password manager's).
    void clipboardDisplaced(const QString& text);

private:
    bool trusted() const;
    // Puts the text shaped for the read field on the clipboard and posts the paste keys the field
    // takes; none where no keys are known to paste safely.
    void pasteInto(const std::optional<AppWindow>& window, const PasteTarget::Field& field,
                   const std::optional<QString>& pastedHere, const Shape& shape,
                   const GuardedReply<InsertResult>& reply);
    // Looks for the raw text at the caret until `deadlineMs`, and pastes the polished one over it.
    void findAndReplace(const QString& raw, const QString& polished, qint64 deadlineMs,
                        const GuardedReply<Replaced>& reply);
    // Offers `text` as the primary selection too for Shift+Insert, and gives it back after.
    void postPaste(const QString& text, KeySynthesizer::Target target, KeySynthesizer::Done done);
    void keepOnClipboard(const std::optional<QString>& displaced, const QString& text);
    // The board still holds a text we left there for good.
    bool keptTextOnBoard() const;
    void checkVisible(const QString& text, std::function<void(bool)> answer);
    void copySelection(bool terminal, QObject* context, Done<std::optional<QString>> done);
    // Runs `then` later on the clock unless context is gone.
    void later(QObject* context, std::function<void()> then);

    // The active window when `text` was pasted into it.
    struct LastPaste {
        quint64 window = 0;
        int pid = 0;
        QString text;
    };
    void notePaste(const QString& text);
    std::optional<QString> lastPasteIn(const std::optional<AppWindow>& window) const;

    Services m_services;
    PasteCycle* m_cycle;
    PasteCycle* m_primaryCycle = nullptr; // the primary selection, where one can be written
    CopyProbe* m_copyProbe;
    std::optional<quint64> m_keptChange; // the board's change count once our text was left there
    std::optional<RememberedInsert> m_remembered;
    bool m_remembersPastes = false;
    QList<LastPaste> m_lastPastes; // the most recent first
    quint64 m_rememberGeneration = 0;
    quint64 m_captureGeneration = 0;
};
