#pragma once

#include "platform/accessible_element.h"

#include "core/base/guarded_reply.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QThread>

#include <functional>
#include <optional>
#include <utility>

// Reads and writes the focused field of other applications through the desktop's accessibility
// service. Text positions and lengths are UTF-16 code units (QString indices), whatever the
// application counts in. Every read answers std::nullopt on any error or time-out.
//
// The operations block on inter-process calls: call them directly only from a background thread
// (or from inside run()); the main thread reaches them through run().
class Accessibility {
public:
    // The messaging time-out of a single request to another application.
    static constexpr int timeoutMs = 250;

    enum class Role { Other, Application, Window, Terminal, TextField, TextArea, ComboBox, Document };

    // A selection; a length of 0 is the caret.
    struct Range {
        int location = 0;
        int length = 0;
        friend bool operator==(const Range&, const Range&) = default;
    };

    // What of an element may be written.
    struct Settable {
        bool value = false;
        bool selectedText = false;
        bool selectedRange = false;
        friend bool operator==(const Settable&, const Settable&) = default;
    };

    enum class WriteOutcome {
        Done,
        Unsupported,   // the element offers no such write
        OutOfRange,    // the range does not fit the element's text
        Failed,        // refused or timed out; the element's text is as it was
        SelectionLost, // the selected text was deleted, and neither the new text nor the old went in
    };

    // Roles a user types text into (a terminal is none: it takes keystrokes, not text writes).
    static constexpr bool isTextEntry(Role role)
    {
        return role == Role::TextField || role == Role::TextArea || role == Role::ComboBox;
    }

    virtual ~Accessibility() = default;

    // Whether the accessibility bus is enabled and answers.
    virtual bool trusted() = 0;
    virtual std::optional<AccessibleElement> focusedElement() = 0;
    virtual std::optional<Role> role(const AccessibleElement& element) = 0;
    // Whether the element says its text may be edited.
    virtual std::optional<bool> editable(const AccessibleElement& element) = 0;
    // The element's whole text.
    virtual std::optional<QString> value(const AccessibleElement& element) = 0;
    // The selected text; empty when only the caret is there.
    virtual std::optional<QString> selectedText(const AccessibleElement& element) = 0;
    virtual std::optional<Range> selectedRange(const AccessibleElement& element) = 0;
    virtual std::optional<Settable> settable(const AccessibleElement& element) = 0;
    virtual std::optional<int> characterCount(const AccessibleElement& element) = 0;
    // The text in `range`; none when the range reaches past the end.
    virtual std::optional<QString> text(const AccessibleElement& element, Range range) = 0;
    // Replaces the selection (or inserts at the caret) and leaves the caret after the new text.
    virtual WriteOutcome writeSelectedText(const AccessibleElement& element, const QString& text) = 0;
    virtual WriteOutcome setSelectedRange(const AccessibleElement& element, Range range) = 0;
    virtual WriteOutcome focus(const AccessibleElement& element) = 0;
    virtual std::optional<qint64> processId(const AccessibleElement& element) = 0;
    // None at the top of an application.
    virtual std::optional<AccessibleElement> parent(const AccessibleElement& element) = 0;
    // The first `limit` children, in order.
    virtual std::optional<QList<AccessibleElement>> children(const AccessibleElement& element, int limit) = 0;

    // Runs `work` where the operations answer without a hop (one request after another), then
    // `done(result)` on the service's own thread unless `context` is gone by then. `context` must
    // live on the thread that created the service.
    template <typename Result>
    void run(std::function<Result(Accessibility&)> work, QObject* context, std::function<void(Result)> done)
    {
        QObject* hop = replyHop();
        Q_ASSERT(context && context->thread() == hop->thread());
        // The hop outlives every job of the service; the guard is read on its thread.
        post([this, hop, work = std::move(work), reply = GuardedReply<Result>(context, std::move(done))] {
            reply.post(hop, work(*this));
        });
    }

protected:
    // Runs `job` after the jobs posted before it, where the operations answer without a hop.
    virtual void post(std::function<void()> job) = 0;
    // An object on the service's thread that lives as long as any job of the service.
    virtual QObject* replyHop() = 0;
};
