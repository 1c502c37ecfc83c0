#include "dictation/insert/text_inserter.h"

#include "core/base/guarded_reply.h"
#include "core/base/timing.h"
#include "dictation/insert/copy_probe.h"
#include "dictation/insert/displaced_clipboard.h"
#include "dictation/insert/paste_cycle.h"
#include "dictation/insert/paste_target.h"
#include "dictation/insert/selection_probe.h"
#include "dictation/learn/accessibility_text_reader.h"
#include "platform/pasteboard.h"
#include "platform/permission_probe.h"

#include <algorithm>

namespace {

using Chord = KeySynthesizer::Chord;
using Target = KeySynthesizer::Target;
using Outcome = Accessibility::WriteOutcome;

// The field still reads as it did when it was remembered, so its remembered range is still the
// user's selection and not text they typed since.
bool stillHolds(Accessibility& a11y, const RememberedInsert& target)
{
    if (!target.range || !target.selected)
        return false;
    if (target.length && a11y.characterCount(target.element) != target.length)
        return false;
    return a11y.text(target.element, *target.range) == target.selected;
}

// What a write into the remembered field came to, and what stood before it there.
struct WriteBack {
    TextInserter::WrittenBack written;
    CaretContext caret = {};
};

// Focuses the remembered field, selects its remembered range while that holds, and writes the
// shaped text over it.
WriteBack writeRemembered(Accessibility& a11y, const RememberedInsert& target,
                          const TextInserter::Shape& shape)
{
    using Failure = TextInserter::WriteBackFailure;
    (void)a11y.focus(target.element);
    const bool holds = stillHolds(a11y, target);
    if (holds && target.range->location >= 0)
        (void)a11y.setSelectedRange(target.element, *target.range);
    const std::optional<Accessibility::Settable> settable = a11y.settable(target.element);
    if (!settable || !settable->selectedText)
        return {Failure::NotSettable};
    if (!holds)
        return {Failure::FieldChanged};
    const CaretContext caret =
        PasteTarget::caretBefore(a11y, target.element, *target.range).value_or(CaretContext{});
    if (a11y.writeSelectedText(target.element, shape(caret)) != Outcome::Done)
        return {Failure::Refused};
    return {std::monostate{}, caret};
}

TextInserter::Shape asIs(const QString& text)
{
    return [text](const CaretContext&) { return text; };
}

QString chars(const QString& text)
{
    return QString::number(text.size()) + QStringLiteral(" chars");
}

} // namespace

TextInserter::TextInserter(Services services, QObject* parent)
    : QObject(parent)
    , m_services(services)
    , m_cycle(new PasteCycle(
          services.pasteboard, services.clock,
          [this](const QString& text, std::function<void(bool)> answer) {
              checkVisible(text, std::move(answer));
          },
          this))
    , m_copyProbe(new CopyProbe(services.pasteboard, services.keys, services.clock, this))
{
    if (services.primary)
        m_primaryCycle = new PasteCycle(
            *services.primary, services.clock,
            [this](const QString& text, std::function<void(bool)> answer) {
                checkVisible(text, std::move(answer));
            },
            this);
}

TextInserter::~TextInserter() = default;

bool TextInserter::trusted() const
{
    return m_services.permissions.accessibilityTrusted();
}

void TextInserter::later(QObject* context, std::function<void()> then)
{
    m_services.clock.singleShot(0, this, GuardedReply<>(context, std::move(then)));
}

void TextInserter::postPaste(const QString& text, Target target, KeySynthesizer::Done done)
{
    const bool primary = target == Target::ShiftInsert && m_primaryCycle;
    if (primary) {
        m_primaryCycle->open();
        m_primaryCycle->write(text);
    }
    // The restores belong to the inserter, so they run even when the caller is gone.
    m_services.keys.post(
        Chord::Paste, target, this,
        [this, text, primary, done = std::move(done)](const KeySynthesizer::Outcome& outcome) {
            if (primary && outcome.ok())
                m_primaryCycle->scheduleRestore(text);
            else if (primary)
                m_primaryCycle->restoreNow();
            done(outcome);
        });
}

void TextInserter::insert(const QString& text, QObject* context, Done<InsertResult> done)
{
    insert(asIs(text), context, std::move(done));
}

void TextInserter::insert(const Shape& shape, QObject* context, Done<InsertResult> done)
{
    Timing::mark(QStringLiteral("insert: start"));
    m_copyProbe->abort();
    const std::optional<AppWindow> window = m_services.windows.activeWindow();
    const std::optional<QString> pastedHere = lastPasteIn(window);
    const GuardedReply<InsertResult> reply(context, std::move(done));
    if (!trusted()) {
        pasteInto(window, {}, pastedHere, shape, reply);
        return;
    }
    // One read gives both the paste keys and the place the text goes.
    m_services.accessibility.run<PasteTarget::Field>(
        [named = window.has_value()](Accessibility& a11y) { return PasteTarget::read(a11y, named); }, this,
        [this, window, pastedHere, shape, reply](const PasteTarget::Field& field) {
            Timing::mark(QStringLiteral("insert: field read"));
            pasteInto(window, field, pastedHere, shape, reply);
        });
}

void TextInserter::pasteInto(const std::optional<AppWindow>& window, const PasteTarget::Field& field,
                             const std::optional<QString>& pastedHere, const Shape& shape,
                             const GuardedReply<InsertResult>& reply)
{
    const CaretContext caret =
        field.caret ? *field.caret : (pastedHere ? CaretContext::after(*pastedHere, false) : CaretContext{});
    const QString text = shape(caret);
    const bool ours = keptTextOnBoard();
    const PasteboardSnapshot saved = m_cycle->open();
    Timing::mark(QStringLiteral("insert: clipboard saved (%1 types)").arg(saved.items.size()));
    m_cycle->write(text);
    const std::optional<QString> displaced = ours ? std::nullopt : saved.displacedText();
    // Whatever the user had copied, an image too, is gone once our text stays.
    const bool replacesCopy = !ours && !saved.items.isEmpty();
    const InsertResult kept{
        .outcome = InsertResult::Outcome::KeptOnClipboard, .caret = caret, .replacedCopy = replacesCopy};
    if (!trusted()) {
        keepOnClipboard(displaced, text);
        later(reply.context(), [reply, kept] { reply(kept); });
        return;
    }
    const std::optional<Target> target = PasteTarget::choose(window, field.focus, m_primaryCycle != nullptr);
    if (!target) {
        Timing::mark(QStringLiteral("insert: no paste keys known for the focused window, text left on "
                                    "the clipboard"));
        keepOnClipboard(displaced, text);
        reply(kept);
        return;
    }
    postPaste(text, *target, [=, this](const KeySynthesizer::Outcome& outcome) {
        if (outcome.ok()) {
            Timing::mark(QStringLiteral("insert: paste posted"));
            notePaste(text);
            m_cycle->scheduleRestore(text);
            reply(InsertResult{.outcome = InsertResult::Outcome::Pasted, .caret = caret});
            return;
        }
        Timing::mark(QStringLiteral("insert: paste not posted, text left on the clipboard: ") +
                     outcome.error().detail);
        keepOnClipboard(displaced, text);
        InsertResult failed = kept;
        failed.failure = outcome.error();
        reply(failed);
    });
}

bool TextInserter::keptTextOnBoard() const
{
    return m_keptChange && *m_keptChange == m_services.pasteboard.changeCount();
}

void TextInserter::keepOnClipboard(const std::optional<QString>& displaced, const QString& text)
{
    if (m_cycle->holdsOurText())
        m_keptChange = m_services.pasteboard.changeCount();
    m_cycle->close();
    if (const std::optional<QString> reported = DisplacedClipboard::worthReporting(displaced, text))
        emit clipboardDisplaced(*reported);
}

void TextInserter::replacePreviousInsert(const QString& raw, const QString& polished, QObject* context,
                                         Done<Replaced> done)
{
    if (!trusted()) {
        later(context, [done] { done(ReplaceFailure::NoAccess); });
        return;
    }
    findAndReplace(raw, polished, m_services.clock.elapsedMs() + PasteCycle::visibleLimitMs,
                   GuardedReply<Replaced>(context, std::move(done)));
}

void TextInserter::findAndReplace(const QString& raw, const QString& polished, qint64 deadlineMs,
                                  const GuardedReply<Replaced>& reply)
{
    struct Found {
        std::optional<ReplaceFailure> failure;
        bool terminal = false;
    };
    m_services.accessibility.run<Found>(
        [raw](Accessibility& a11y) -> Found {
            const std::optional<AccessibleElement> focused = a11y.focusedElement();
            if (!focused)
                return {ReplaceFailure::RawNotFound};
            const std::optional<Accessibility::Range> range =
                AccessibilityTextReader(a11y).rangeOfJustInserted(raw, *focused);
            if (!range)
                return {ReplaceFailure::RawNotFound};
            if (a11y.setSelectedRange(*focused, *range) != Outcome::Done)
                return {ReplaceFailure::SelectionRefused};
            if (a11y.selectedText(*focused) != raw) {
                (void)a11y.setSelectedRange(*focused, {range->location + range->length, 0});
                return {ReplaceFailure::ReadBackDiffers};
            }
            return {std::nullopt, a11y.role(*focused) == Accessibility::Role::Terminal};
        },
        this,
        [this, raw, polished, deadlineMs, reply](const Found& found) {
            if (!reply.wanted())
                return;
            // A fast polish can be back before the application has taken the raw paste in.
            if (found.failure == ReplaceFailure::RawNotFound && m_services.clock.elapsedMs() < deadlineMs) {
                m_services.clock.singleShot(PasteCycle::visiblePollMs, this,
                                            [=, this] { findAndReplace(raw, polished, deadlineMs, reply); });
                return;
            }
            if (found.failure) {
                reply(*found.failure);
                return;
            }
            // The raw text was found in the focused field, so accessibility shows one there.
            const std::optional<Target> target = PasteTarget::choose(
                m_services.windows.activeWindow(),
                found.terminal ? PasteTarget::Focus::Terminal : PasteTarget::Focus::TextEntry,
                m_primaryCycle != nullptr);
            if (!target) {
                reply(ReplaceFailure::ChordFailed);
                return;
            }
            m_copyProbe->abort();
            m_cycle->open();
            m_cycle->write(polished);
            postPaste(polished, *target, [this, polished, reply](const KeySynthesizer::Outcome& outcome) {
                if (outcome.ok()) {
                    notePaste(polished);
                    m_cycle->scheduleRestore(polished);
                } else {
                    m_cycle->restoreNow();
                }
                if (outcome.ok())
                    reply(std::monostate{});
                else
                    reply(ReplaceFailure::ChordFailed);
            });
        });
}

void TextInserter::copyToClipboard(const QString& text)
{
    m_copyProbe->abort();
    // Outside a paste cycle the clipboard on the board is the user's, and it is displaced as well,
    // unless it is a text of ours left there before, whose displaced clipboard was reported then.
    const std::optional<QString> displaced =
        keptTextOnBoard() ? std::nullopt : m_cycle->usersClipboard().displacedText();
    m_cycle->close();
    m_services.pasteboard.writeText(text);
    m_keptChange = m_services.pasteboard.changeCount();
    if (const std::optional<QString> reported = DisplacedClipboard::worthReporting(displaced, text))
        emit clipboardDisplaced(*reported);
}

void TextInserter::rememberPastes(bool on)
{
    m_remembersPastes = on;
    m_lastPastes.clear();
}

void TextInserter::userTyped()
{
    if (m_lastPastes.isEmpty())
        return;
    // Keys go to the active window; where that cannot be named, any window may have had them.
    const std::optional<AppWindow> window = m_services.windows.activeWindow();
    if (!window) {
        m_lastPastes.clear();
        return;
    }
    m_lastPastes.removeIf([&](const LastPaste& paste) { return paste.window == window->window; });
}

void TextInserter::notePaste(const QString& text)
{
    const std::optional<AppWindow> window = m_services.windows.activeWindow();
    if (!m_remembersPastes || !window)
        return;
    m_lastPastes.removeIf([&](const LastPaste& paste) { return paste.window == window->window; });
    m_lastPastes.prepend(LastPaste{window->window, window->pid, text.right(PasteTarget::caretLookBack)});
    if (m_lastPastes.size() > rememberedWindows)
        m_lastPastes.removeLast();
}

std::optional<QString> TextInserter::lastPasteIn(const std::optional<AppWindow>& window) const
{
    if (!window)
        return std::nullopt;
    for (const LastPaste& paste : m_lastPastes)
        if (paste.window == window->window && paste.pid == window->pid)
            return paste.text;
    return std::nullopt;
}

void TextInserter::checkVisible(const QString& text, std::function<void(bool)> answer)
{
    if (!trusted()) {
        answer(false);
        return;
    }
    m_services.accessibility.run<bool>(
        [text](Accessibility& a11y) {
            const std::optional<AccessibleElement> focused = a11y.focusedElement();
            return focused && AccessibilityTextReader(a11y).rangeOfJustInserted(text, *focused).has_value();
        },
        this, std::move(answer));
}

void TextInserter::rememberInsertTarget()
{
    const quint64 generation = ++m_rememberGeneration;
    m_remembered.reset();
    if (!trusted())
        return;
    m_services.accessibility.run<std::optional<RememberedInsert>>(
        [own = m_services.ownPid](Accessibility& a11y) -> std::optional<RememberedInsert> {
            const std::optional<AccessibleElement> focused = a11y.focusedElement();
            if (!focused)
                return std::nullopt;
            const std::optional<qint64> pid = a11y.processId(*focused);
            if (!pid || *pid == 0 || *pid == own)
                return std::nullopt;
            RememberedInsert target{.element = *focused, .pid = *pid, .range = a11y.selectedRange(*focused)};
            if (target.range)
                target.selected = a11y.text(*focused, *target.range);
            target.length = a11y.characterCount(*focused);
            return target;
        },
        this,
        [this, generation](const std::optional<RememberedInsert>& target) {
            if (generation == m_rememberGeneration)
                m_remembered = target;
        });
}

void TextInserter::replaceRememberedSelection(const QString& text, QObject* context, Done<WrittenBack> done)
{
    if (!m_remembered) {
        later(context, [done] { done(WriteBackFailure::NothingRemembered); });
        return;
    }
    m_services.accessibility.run<WrittenBack>(
        [target = *m_remembered, text](Accessibility& a11y) {
            return writeRemembered(a11y, target, asIs(text)).written;
        },
        context, std::move(done));
}

TextInserter::Activation TextInserter::activateRememberedApp(const std::optional<QString>& fallbackAppId)
{
    std::optional<WindowSystem::Failure> failure;
    const auto tryWindow = [&](const std::optional<AppWindow>& window) -> bool {
        if (!window || (m_services.ownPid != 0 && window->pid == m_services.ownPid))
            return false;
        const WindowSystem::Activated activated = m_services.windows.activate(*window);
        if (!activated.ok())
            failure = activated.error();
        return activated.ok();
    };
    if (m_remembered) {
        const std::optional<AppWindow> window =
            m_services.windows.windowOfProcess(static_cast<int>(m_remembered->pid));
        if (tryWindow(window))
            return *window;
    }
    if (fallbackAppId && !fallbackAppId->isEmpty()) {
        const std::optional<AppWindow> window = m_services.windows.windowOfApp(*fallbackAppId);
        if (tryWindow(window))
            return *window;
    }
    return ActivationFailure{failure};
}

void TextInserter::insertAtRememberedCursor(const QString& text, const std::optional<QString>& fallbackAppId,
                                            QObject* context, Done<InsertResult> done)
{
    insertAtRememberedCursor(asIs(text), fallbackAppId, context, std::move(done));
}

void TextInserter::insertAtRememberedCursor(const Shape& shape, const std::optional<QString>& fallbackAppId,
                                            QObject* context, Done<InsertResult> done)
{
    (void)activateRememberedApp(fallbackAppId);
    const GuardedReply<InsertResult> reply(context, done);
    // The window manager carries out the activation a moment later.
    m_services.clock.singleShot(activationDelayMs, this, [this, shape, reply, done] {
        if (!reply.context())
            return;
        if (!m_remembered || !trusted()) {
            insert(shape, reply.context(), done);
            return;
        }
        m_services.accessibility.run<WriteBack>(
            [target = *m_remembered, shape](Accessibility& a11y) {
                return writeRemembered(a11y, target, shape);
            },
            this,
            [this, shape, reply, done](const WriteBack& write) {
                if (!reply.context())
                    return;
                if (write.written.ok()) {
                    Timing::mark(QStringLiteral("insert: accessibility replace after focus"));
                    reply(InsertResult{.outcome = InsertResult::Outcome::Written, .caret = write.caret});
                    return;
                }
                insert(shape, reply.context(), done);
            });
    });
}

void TextInserter::captureSelection(QObject* context, Done<std::optional<QString>> done)
{
    const quint64 generation = ++m_captureGeneration;
    const GuardedReply<std::optional<QString>> reply(context, done);
    auto finish = [this, generation, reply](const std::optional<QString>& text) {
        if (generation == m_captureGeneration)
            reply(text);
    };
    // Our own windows hold nothing the user speaks a command about, and a copy chord would land in them.
    if (const auto active = m_services.windows.activeWindow(); active && active->pid == m_services.ownPid) {
        Timing::mark(QStringLiteral("selection skipped: this program has the focus"));
        later(this, [finish] { finish(std::nullopt); });
        return;
    }
    if (!trusted()) {
        later(this, [this, finish] { copySelection(false, this, finish); });
        return;
    }
    const Clock* clock = &m_services.clock;
    m_services.accessibility.run<SelectionProbe::Finding>(
        [clock](Accessibility& a11y) { return SelectionProbe::run(a11y, *clock); }, this,
        [this, generation, reply, finish](const SelectionProbe::Finding& finding) {
            if (!reply.context() || generation != m_captureGeneration)
                return;
            using Kind = SelectionProbe::Finding::Kind;
            switch (finding.kind) {
            case Kind::Text:
                Timing::mark(QStringLiteral("selection via accessibility (") + chars(finding.text) +
                             QLatin1Char(')'));
                finish(finding.text);
                return;
            case Kind::ConfirmedEmpty:
                Timing::mark(QStringLiteral("selection confirmed empty"));
                finish(std::nullopt);
                return;
            case Kind::TooLong:
                Timing::mark(QStringLiteral("selection too long for a command"));
                finish(std::nullopt);
                return;
            case Kind::Unknown:
                copySelection(finding.terminal, this, finish);
                return;
            }
        });
}

void TextInserter::copySelection(bool terminal, QObject* context, Done<std::optional<QString>> done)
{
    const std::optional<AppWindow> window = m_services.windows.activeWindow();
    // A window nobody could name may be a terminal as well.
    if (!window) {
        Timing::mark(QStringLiteral("selection copy skipped in a window that could not be named"));
        done(std::nullopt);
        return;
    }
    if (terminal || window->terminal) {
        // Ctrl+C would interrupt the terminal's running command.
        Timing::mark(QStringLiteral("selection copy skipped in a terminal"));
        done(std::nullopt);
        return;
    }
    // A paste cycle still open holds our text on the clipboard, which is not the user's to keep.
    m_cycle->restoreNow();
    m_copyProbe->start([reply = GuardedReply<std::optional<QString>>(context, std::move(done))](
                           const std::optional<QString>& copied) {
        Timing::mark(copied ? QStringLiteral("selection via copy (") + chars(*copied) + QLatin1Char(')')
                            : QStringLiteral("selection copy found nothing"));
        reply(copied);
    });
}
