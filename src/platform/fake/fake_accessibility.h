#pragma once

#include "platform/accessibility.h"

#include <QList>
#include <QObject>

#include <iosfwd>
#include <map>
#include <mutex>
#include <vector>

class ManualClock;

// Elements a test builds and edits. Calls run at once on the calling thread (run() still answers
// through the event loop). A slow element moves the injected clock by its delay on every call and,
// past the time-out, fails the call the way a real time-out would.
class FakeAccessibility final : public Accessibility {
public:
    struct Element {
        QString name; // names the element in calls(); defaults to its number
        Role role = Role::TextField;
        bool textual = true; // offers text at all (a window or a button does not)
        QString text;
        Range selection;
        bool editable = true;
        qint64 pid = 4242;
        int delayMs = 0;
        bool unreadable = false;    // every call on it fails
        bool refusesWrites = false; // every write fails and changes nothing
    };

    explicit FakeAccessibility(ManualClock* clock = nullptr);

    // An editable one-line field; tests change the other fields of the result as they need.
    static Element field(QString text, Range selection = {});

    AccessibleElement add(Element element, const AccessibleElement& parent = {});
    // The element is gone (its window closed): every call on it fails.
    void remove(const AccessibleElement& element);
    void edit(const AccessibleElement& element, const std::function<void(Element&)>& change);
    Element element(const AccessibleElement& element) const;
    // A null handle for no focus.
    void setFocused(const AccessibleElement& element);
    // Untrusted, every call fails.
    void setTrusted(bool trusted);
    // A call that reached an element: the interface's method name and the element's name.
    struct Call {
        QString operation;
        QString element;
        bool operator==(const Call&) const = default;
        friend void PrintTo(const Call& call, std::ostream* out); // for test failure messages
    };
    // Calls so far, writes included, oldest first.
    QList<Call> calls() const;
    int callCount(const AccessibleElement& element) const;
    // Holds the jobs run() posts, the way a service stuck on a field that does not answer would,
    // until runHeldJobs().
    void holdJobs() { m_holding = true; }
    int heldJobs() const { return static_cast<int>(m_held.size()); }
    void runHeldJobs();
    // Round trips to the service so far: the jobs run() posted.
    int runs() const { return m_runs; }

    bool trusted() override;
    std::optional<AccessibleElement> focusedElement() override;
    std::optional<Role> role(const AccessibleElement& element) override;
    std::optional<bool> editable(const AccessibleElement& element) override;
    std::optional<QString> value(const AccessibleElement& element) override;
    std::optional<QString> selectedText(const AccessibleElement& element) override;
    std::optional<Range> selectedRange(const AccessibleElement& element) override;
    std::optional<Settable> settable(const AccessibleElement& element) override;
    std::optional<int> characterCount(const AccessibleElement& element) override;
    std::optional<QString> text(const AccessibleElement& element, Range range) override;
    WriteOutcome writeSelectedText(const AccessibleElement& element, const QString& text) override;
    WriteOutcome setSelectedRange(const AccessibleElement& element, Range range) override;
    WriteOutcome focus(const AccessibleElement& element) override;
    std::optional<qint64> processId(const AccessibleElement& element) override;
    std::optional<AccessibleElement> parent(const AccessibleElement& element) override;
    std::optional<QList<AccessibleElement>> children(const AccessibleElement& element, int limit) override;

protected:
    void post(std::function<void()> job) override;
    QObject* replyHop() override;

private:
    struct Node {
        Element element;
        AccessibleElement handle;
        AccessibleElement parent;
        QList<AccessibleElement> children;
        bool gone = false;
        int calls = 0;
    };

    // The node a call may use, after its delay; nullptr when the call fails.
    Node* reach(const AccessibleElement& element, const char* operation);
    const Node* find(const AccessibleElement& element) const;
    Node* find(const AccessibleElement& element);

    // Recursive: a timer that the clock fires during a delay may call back in.
    mutable std::recursive_mutex m_mutex;
    ManualClock* m_clock;
    QObject m_hop;
    std::map<QString, Node> m_nodes;
    AccessibleElement m_focused;
    bool m_trusted = true;
    int m_next = 1;
    QList<Call> m_calls;
    bool m_holding = false;
    int m_runs = 0;
    std::vector<std::function<void()>> m_held;
};
