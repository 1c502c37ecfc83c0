#pragma once

#include "platform/accessibility.h"

#include <memory>

// Accessibility through AT-SPI 2 (libatspi). Every libatspi call runs on the process's one
// accessibility thread (AtspiThread): the operations block the calling thread until it answers,
// run() does not. At start it turns the session's accessibility on and follows focus events.
class AtspiAccessibility final : public Accessibility {
public:
    AtspiAccessibility();
    // Waits for the jobs already posted.
    ~AtspiAccessibility() override;

    AtspiAccessibility(const AtspiAccessibility&) = delete;
    AtspiAccessibility& operator=(const AtspiAccessibility&) = delete;

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

    // Whether libatspi's connections to applications are served on the accessibility thread and
    // never on the main thread's GLib context.
    bool connectionsOnThread();

protected:
    void post(std::function<void()> job) override;
    QObject* replyHop() override;

private:
    class Private;

    template <typename Result> Result onThread(std::function<Result()> job);

    std::unique_ptr<Private> m_d;
};
