#include "platform/linux/atspi/atspi_accessibility.h"

#include "platform/linux/atspi/accessibility_bus.h"
#include "platform/linux/atspi/atspi_calls.h"
#include "platform/linux/atspi/atspi_element_ref.h"
#include "platform/linux/atspi/atspi_field.h"
#include "platform/linux/atspi/atspi_focus.h"
#include "platform/linux/atspi/atspi_thread.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

using namespace AtspiCalls;

class AtspiAccessibility::Private final {
public:
    QObject hop;
    AtspiFocus focus;

    bool ready() const { return AtspiThread::shared().ready(); }

    // The accessible behind `element`, when libatspi can be asked about it.
    AtspiAccessible* accessible(const AccessibleElement& element) const
    {
        return ready() ? AtspiElementRef::get(element) : nullptr;
    }

    // `read` on the element's accessible; none when there is none.
    template <typename Read> auto reading(const AccessibleElement& element, Read read) const
    {
        AtspiAccessible* a = accessible(element);
        return a ? read(a) : decltype(read(a))();
    }

    // `write` on the element's accessible; Failed when there is none.
    template <typename Write> WriteOutcome writing(const AccessibleElement& element, Write write) const
    {
        AtspiAccessible* a = accessible(element);
        return a ? write(a) : WriteOutcome::Failed;
    }

    std::optional<qint64> processId(const AccessibleElement& element)
    {
        AtspiAccessible* a = accessible(element);
        if (!a)
            return std::nullopt;
        Error error;
        const guint pid = atspi_accessible_get_process_id(a, error.out());
        if (error.failed() || pid == 0)
            return std::nullopt;
        return static_cast<qint64>(pid);
    }

    std::optional<AccessibleElement> parent(const AccessibleElement& element)
    {
        AtspiAccessible* a = accessible(element);
        if (!a)
            return std::nullopt;
        Error error;
        Owned<AtspiAccessible> up(atspi_accessible_get_parent(a, error.out()));
        if (error.failed() || !up)
            return std::nullopt;
        // Above an application sits the desktop, which belongs to no application.
        Error roleError;
        if (atspi_accessible_get_role(up.get(), roleError.out()) == ATSPI_ROLE_DESKTOP_FRAME)
            return std::nullopt;
        return adopt(up.release());
    }

    std::optional<QList<AccessibleElement>> children(const AccessibleElement& element, int limit)
    {
        AtspiAccessible* a = accessible(element);
        if (!a)
            return std::nullopt;
        Error error;
        const int count = atspi_accessible_get_child_count(a, error.out());
        if (error.failed())
            return std::nullopt;
        QList<AccessibleElement> result;
        for (int i = 0; i < std::min(count, limit); ++i) {
            Error childError;
            AtspiAccessible* child = atspi_accessible_get_child_at_index(a, i, childError.out());
            if (childError.failed()) {
                if (child)
                    g_object_unref(child);
                return std::nullopt;
            }
            if (std::optional<AccessibleElement> handle = adopt(child))
                result.append(*handle);
        }
        return result;
    }
};

AtspiAccessibility::AtspiAccessibility()
    : m_d(std::make_unique<Private>())
{
    AtspiThread::shared().post([d = m_d.get()] { d->focus.start(); });
}

AtspiAccessibility::~AtspiAccessibility()
{
    // Jobs run in order, so once this one ran no job of this instance is left to touch m_d.
    AtspiThread::shared().call<bool>([d = m_d.get()] {
        d->focus.stop();
        return true;
    });
}

template <typename Result> Result AtspiAccessibility::onThread(std::function<Result()> job)
{
    // A blocking call on the main thread would freeze the program for up to the time-out.
    Q_ASSERT_X(!QCoreApplication::instance() ||
                   QThread::currentThread() != QCoreApplication::instance()->thread(),
               "AtspiAccessibility", "blocking accessibility call on the main thread; use run()");
    return AtspiThread::shared().call<Result>(std::move(job));
}

bool AtspiAccessibility::trusted()
{
    return onThread<bool>([this] {
        return m_d->ready() && AccessibilityBus::isEnabled(Accessibility::timeoutMs).value_or(false);
    });
}

std::optional<AccessibleElement> AtspiAccessibility::focusedElement()
{
    return onThread<std::optional<AccessibleElement>>([this] { return m_d->focus.focusedElement(); });
}

std::optional<Accessibility::Role> AtspiAccessibility::role(const AccessibleElement& element)
{
    return onThread<std::optional<Role>>([&] { return m_d->reading(element, AtspiField::role); });
}

std::optional<bool> AtspiAccessibility::editable(const AccessibleElement& element)
{
    return onThread<std::optional<bool>>([&] { return m_d->reading(element, AtspiField::editable); });
}

std::optional<QString> AtspiAccessibility::value(const AccessibleElement& element)
{
    return onThread<std::optional<QString>>([&] { return m_d->reading(element, AtspiField::value); });
}

std::optional<QString> AtspiAccessibility::selectedText(const AccessibleElement& element)
{
    return onThread<std::optional<QString>>([&] { return m_d->reading(element, AtspiField::selectedText); });
}

std::optional<Accessibility::Range> AtspiAccessibility::selectedRange(const AccessibleElement& element)
{
    return onThread<std::optional<Range>>([&] { return m_d->reading(element, AtspiField::selectedRange); });
}

std::optional<Accessibility::Settable> AtspiAccessibility::settable(const AccessibleElement& element)
{
    return onThread<std::optional<Settable>>([&] { return m_d->reading(element, AtspiField::settable); });
}

std::optional<int> AtspiAccessibility::characterCount(const AccessibleElement& element)
{
    return onThread<std::optional<int>>([&] { return m_d->reading(element, AtspiField::characterCount); });
}

std::optional<QString> AtspiAccessibility::text(const AccessibleElement& element, Range range)
{
    return onThread<std::optional<QString>>([&] {
        return m_d->reading(element, [range](AtspiAccessible* a) { return AtspiField::text(a, range); });
    });
}

Accessibility::WriteOutcome AtspiAccessibility::writeSelectedText(const AccessibleElement& element,
                                                                  const QString& text)
{
    return onThread<WriteOutcome>([&] {
        return m_d->writing(element,
                            [&text](AtspiAccessible* a) { return AtspiField::writeSelectedText(a, text); });
    });
}

Accessibility::WriteOutcome AtspiAccessibility::setSelectedRange(const AccessibleElement& element,
                                                                 Range range)
{
    return onThread<WriteOutcome>([&] {
        return m_d->writing(element,
                            [range](AtspiAccessible* a) { return AtspiField::setSelectedRange(a, range); });
    });
}

Accessibility::WriteOutcome AtspiAccessibility::focus(const AccessibleElement& element)
{
    return onThread<WriteOutcome>([&] { return m_d->writing(element, AtspiField::focus); });
}

std::optional<qint64> AtspiAccessibility::processId(const AccessibleElement& element)
{
    return onThread<std::optional<qint64>>([&] { return m_d->processId(element); });
}

std::optional<AccessibleElement> AtspiAccessibility::parent(const AccessibleElement& element)
{
    return onThread<std::optional<AccessibleElement>>([&] { return m_d->parent(element); });
}

std::optional<QList<AccessibleElement>> AtspiAccessibility::children(const AccessibleElement& element,
                                                                     int limit)
{
    return onThread<std::optional<QList<AccessibleElement>>>([&] { return m_d->children(element, limit); });
}

bool AtspiAccessibility::connectionsOnThread()
{
    return onThread<bool>([] { return AtspiThread::shared().connectionsOnThread(); });
}

void AtspiAccessibility::post(std::function<void()> job)
{
    AtspiThread::shared().post(std::move(job));
}

QObject* AtspiAccessibility::replyHop()
{
    return &m_d->hop;
}
