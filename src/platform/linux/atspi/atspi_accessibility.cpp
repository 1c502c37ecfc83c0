#include "platform/linux/atspi/atspi_accessibility.h"

#include "platform/linux/atspi/accessibility_bus.h"
#include "platform/linux/atspi/atspi_element_ref.h"
#include "platform/linux/atspi/atspi_thread.h"
#include "platform/linux/atspi/selection_rewrite.h"
#include "platform/linux/atspi/text_offsets.h"

#include <QCoreApplication>
#include <QThread>

#pragma push_macro("signals")
#undef signals
#include <atspi/atspi.h>
#pragma pop_macro("signals")

#include <algorithm>
#include <cstring>
#include <deque>
#include <utility>
#include <variant>

namespace {

using Unit = TextOffsets::Unit;
using Role = Accessibility::Role;
using Range = Accessibility::Range;
using WriteOutcome = Accessibility::WriteOutcome;

// Bounds of the walk that finds the focus when no focus event was seen.
constexpr int walkNodeLimit = 600;
constexpr int walkChildLimit = 200;

struct Unref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using Owned = std::unique_ptr<T, Unref>;

// Collects a GError out-parameter and frees it.
class Error final {
public:
    Error() = default;
    ~Error()
    {
        if (m_error)
            g_error_free(m_error);
    }
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;

    GError** out() { return &m_error; }
    bool failed() const { return m_error != nullptr; }

private:
    GError* m_error = nullptr;
};

std::optional<QString> takeString(gchar* raw, const Error& error)
{
    if (error.failed() || !raw) {
        g_free(raw);
        return std::nullopt;
    }
    QString text = QString::fromUtf8(raw);
    g_free(raw);
    return text;
}

// None when the states cannot be read: libatspi answers a failed read with an empty set.
std::optional<bool> hasState(AtspiAccessible* accessible, AtspiStateType state)
{
    const Owned<AtspiStateSet> states(atspi_accessible_get_state_set(accessible));
    if (!states || atspi_state_set_is_empty(states.get()) ||
        atspi_state_set_contains(states.get(), ATSPI_STATE_DEFUNCT))
        return std::nullopt;
    return atspi_state_set_contains(states.get(), state) != FALSE;
}

Unit unitOf(AtspiAccessible* accessible)
{
    // Qt answers the toolkit only on the application's root; libatspi keeps it per application.
    Error rootError;
    const Owned<AtspiAccessible> root(atspi_accessible_get_application(accessible, rootError.out()));
    if (rootError.failed() || !root)
        return Unit::CodePoints;
    Error error;
    const std::optional<QString> toolkit =
        takeString(atspi_accessible_get_toolkit_name(root.get(), error.out()), error);
    // Qt's bridge (checked with 6.4) hands its QString indices through instead of code points.
    if (toolkit && toolkit->compare(QLatin1String("Qt"), Qt::CaseInsensitive) == 0)
        return Unit::Utf16;
    return Unit::CodePoints;
}

std::optional<QString> readText(AtspiText* text, int start, int end)
{
    Error error;
    return takeString(atspi_text_get_text(text, start, end, error.out()), error);
}

// The selection, or the caret as an empty one, in the application's offsets.
struct AppRange {
    int start = 0;
    int end = 0;
};

std::optional<AppRange> appSelection(AtspiText* text)
{
    Error countError;
    const int count = atspi_text_get_n_selections(text, countError.out());
    if (countError.failed())
        return std::nullopt;
    if (count > 0) {
        Error error;
        AtspiRange* range = atspi_text_get_selection(text, 0, error.out());
        if (error.failed() || !range) {
            g_free(range);
            return std::nullopt;
        }
        const AppRange selection{std::min(range->start_offset, range->end_offset),
                                 std::max(range->start_offset, range->end_offset)};
        g_free(range);
        if (selection.start >= 0 && selection.end > selection.start)
            return selection;
    }
    Error caretError;
    const int caret = atspi_text_get_caret_offset(text, caretError.out());
    if (caretError.failed() || caret < 0)
        return std::nullopt;
    return AppRange{caret, caret};
}

// The application's offsets of a UTF-16 range; OutOfRange or Failed when there are none.
std::variant<AppRange, WriteOutcome> toApp(AtspiText* text, Unit unit, Range range)
{
    if (range.location < 0 || range.length < 0)
        return WriteOutcome::OutOfRange;
    const int end16 = range.location + range.length;
    if (unit == Unit::Utf16) {
        Error error;
        const int count = atspi_text_get_character_count(text, error.out());
        if (error.failed())
            return WriteOutcome::Failed;
        if (end16 > count)
            return WriteOutcome::OutOfRange;
        return AppRange{range.location, end16};
    }
    // end16 code points span at least end16 UTF-16 units, so this prefix holds the whole range.
    const std::optional<QString> prefix = readText(text, 0, end16);
    if (!prefix)
        return WriteOutcome::Failed;
    if (prefix->size() < end16)
        return WriteOutcome::OutOfRange;
    const std::optional<int> start = TextOffsets::fromUtf16(unit, *prefix, range.location);
    const std::optional<int> end = TextOffsets::fromUtf16(unit, *prefix, end16);
    if (!start || !end)
        return WriteOutcome::OutOfRange;
    return AppRange{*start, *end};
}

Role roleFrom(AtspiRole role, AtspiAccessible* accessible)
{
    switch (role) {
    case ATSPI_ROLE_TERMINAL:
        return Role::Terminal;
    case ATSPI_ROLE_ENTRY:
    case ATSPI_ROLE_PASSWORD_TEXT:
    case ATSPI_ROLE_EDITBAR:
        return Role::TextField;
    case ATSPI_ROLE_TEXT:
        // Toolkits use this one role for single-line and multi-line fields alike.
        return hasState(accessible, ATSPI_STATE_MULTI_LINE).value_or(false) ? Role::TextArea
                                                                            : Role::TextField;
    case ATSPI_ROLE_COMBO_BOX:
        return Role::ComboBox;
    case ATSPI_ROLE_DOCUMENT_FRAME:
    case ATSPI_ROLE_DOCUMENT_TEXT:
    case ATSPI_ROLE_DOCUMENT_WEB:
    case ATSPI_ROLE_DOCUMENT_EMAIL:
    case ATSPI_ROLE_DOCUMENT_SPREADSHEET:
    case ATSPI_ROLE_DOCUMENT_PRESENTATION:
        return Role::Document;
    case ATSPI_ROLE_APPLICATION:
        return Role::Application;
    case ATSPI_ROLE_FRAME:
    case ATSPI_ROLE_WINDOW:
    case ATSPI_ROLE_DIALOG:
        return Role::Window;
    default:
        return Role::Other;
    }
}

AtspiAccessible* childAt(AtspiAccessible* parent, int index)
{
    Error error;
    AtspiAccessible* child = atspi_accessible_get_child_at_index(parent, index, error.out());
    if (error.failed() && child) {
        g_object_unref(child);
        return nullptr;
    }
    return child;
}

int childCount(AtspiAccessible* parent)
{
    Error error;
    const int count = atspi_accessible_get_child_count(parent, error.out());
    return error.failed() ? 0 : std::max(count, 0);
}

// The focused element below an active window, breadth-first through what is showing.
AtspiAccessible* focusedBelow(AtspiAccessible* window)
{
    std::deque<Owned<AtspiAccessible>> queue;
    queue.emplace_back(static_cast<AtspiAccessible*>(g_object_ref(window)));
    for (int visited = 0; !queue.empty() && visited < walkNodeLimit; ++visited) {
        Owned<AtspiAccessible> node = std::move(queue.front());
        queue.pop_front();
        if (hasState(node.get(), ATSPI_STATE_FOCUSED).value_or(false))
            return node.release();
        if (!hasState(node.get(), ATSPI_STATE_SHOWING).value_or(false) ||
            hasState(node.get(), ATSPI_STATE_MANAGES_DESCENDANTS).value_or(false))
            continue;
        const int count = std::min(childCount(node.get()), walkChildLimit);
        for (int i = 0; i < count; ++i) {
            if (AtspiAccessible* child = childAt(node.get(), i))
                queue.emplace_back(child);
        }
    }
    return nullptr;
}

} // namespace

class AtspiAccessibility::Private final {
public:
    QObject hop;
    AtspiEventListener* listener = nullptr;
    AtspiAccessible* focused = nullptr; // from the last focus event

    static constexpr const char* focusEvents[] = {"object:state-changed:focused", "focus:"};

    bool ready() const { return AtspiThread::shared().ready(); }

    void start()
    {
        AccessibilityBus::enable();
        if (!ready())
            return;
        listener = atspi_event_listener_new(&Private::onEvent, this, nullptr);
        for (const char* type : focusEvents)
            atspi_event_listener_register(listener, type, nullptr);
    }

    void stop()
    {
        if (listener) {
            for (const char* type : focusEvents)
                atspi_event_listener_deregister(listener, type, nullptr);
            g_object_unref(listener);
            listener = nullptr;
        }
        setFocused(nullptr);
    }

    void setFocused(AtspiAccessible* accessible)
    {
        if (focused)
            g_object_unref(focused);
        focused = accessible;
    }

    static void onEvent(AtspiEvent* event, void* data)
    {
        auto* self = static_cast<Private*>(data);
        const bool stateChange = std::strcmp(event->type, focusEvents[0]) == 0;
        const bool gained =
            (stateChange && event->detail1 == 1) || std::strcmp(event->type, focusEvents[1]) == 0;
        if (gained && event->source)
            self->setFocused(static_cast<AtspiAccessible*>(g_object_ref(event->source)));
        else if (stateChange && event->source == self->focused)
            self->setFocused(nullptr);
        g_boxed_free(atspi_event_get_type(), event);
    }

    std::optional<AccessibleElement> focusedElement()
    {
        if (!ready())
            return std::nullopt;
        if (focused && hasState(focused, ATSPI_STATE_FOCUSED).value_or(false))
            return element(static_cast<AtspiAccessible*>(g_object_ref(focused)));
        const Owned<AtspiAccessible> desktop(atspi_get_desktop(0));
        const int applications = childCount(desktop.get());
        for (int a = 0; a < applications; ++a) {
            const Owned<AtspiAccessible> application(childAt(desktop.get(), a));
            const int windows = application ? childCount(application.get()) : 0;
            for (int w = 0; w < windows; ++w) {
                const Owned<AtspiAccessible> window(childAt(application.get(), w));
                if (!window || !hasState(window.get(), ATSPI_STATE_ACTIVE).value_or(false))
                    continue;
                if (AtspiAccessible* found = focusedBelow(window.get())) {
                    setFocused(static_cast<AtspiAccessible*>(g_object_ref(found)));
                    return element(found);
                }
            }
        }
        return std::nullopt;
    }

    static std::optional<AccessibleElement> element(AtspiAccessible* adopted)
    {
        AccessibleElement handle = AtspiElementRef::adopt(adopted);
        if (handle.isNull())
            return std::nullopt;
        return handle;
    }

    // The accessible behind `element`, when libatspi can be asked about it.
    AtspiAccessible* accessible(const AccessibleElement& element) const
    {
        return ready() ? AtspiElementRef::get(element) : nullptr;
    }

    std::optional<Role> role(const AccessibleElement& element)
    {
        AtspiAccessible* a = accessible(element);
        if (!a)
            return std::nullopt;
        Error error;
        const AtspiRole role = atspi_accessible_get_role(a, error.out());
        if (error.failed() || role == ATSPI_ROLE_INVALID)
            return std::nullopt;
        return roleFrom(role, a);
    }

    std::optional<bool> editable(const AccessibleElement& element)
    {
        AtspiAccessible* a = accessible(element);
        return a ? hasState(a, ATSPI_STATE_EDITABLE) : std::nullopt;
    }

    Owned<AtspiText> textOf(const AccessibleElement& element)
    {
        AtspiAccessible* a = accessible(element);
        return Owned<AtspiText>(a ? atspi_accessible_get_text_iface(a) : nullptr);
    }

    std::optional<QString> value(const AccessibleElement& element)
    {
        const Owned<AtspiText> text = textOf(element);
        return text ? readText(text.get(), 0, -1) : std::nullopt;
    }

    struct Selection {
        Owned<AtspiText> text;
        AppRange range;
    };

    // The element's text with its selection; none when either cannot be read.
    std::optional<Selection> selectionOf(const AccessibleElement& element)
    {
        Owned<AtspiText> text = textOf(element);
        if (!text)
            return std::nullopt;
        const std::optional<AppRange> range = appSelection(text.get());
        if (!range)
            return std::nullopt;
        return Selection{std::move(text), *range};
    }

    std::optional<QString> selectedText(const AccessibleElement& element)
    {
        const std::optional<Selection> selection = selectionOf(element);
        if (!selection)
            return std::nullopt;
        if (selection->range.end == selection->range.start)
            return QString();
        return readText(selection->text.get(), selection->range.start, selection->range.end);
    }

    std::optional<Range> selectedRange(const AccessibleElement& element)
    {
        const std::optional<Selection> selection = selectionOf(element);
        if (!selection)
            return std::nullopt;
        const AppRange range = selection->range;
        const Unit unit = unitOf(accessible(element));
        if (unit == Unit::Utf16)
            return Range{range.start, range.end - range.start};
        const std::optional<QString> prefix = readText(selection->text.get(), 0, range.end);
        if (!prefix)
            return std::nullopt;
        const std::optional<int> start = TextOffsets::toUtf16(unit, *prefix, range.start);
        const std::optional<int> end = TextOffsets::toUtf16(unit, *prefix, range.end);
        if (!start || !end)
            return std::nullopt;
        return Range{*start, *end - *start};
    }

    std::optional<Settable> settable(const AccessibleElement& element)
    {
        AtspiAccessible* a = accessible(element);
        if (!a)
            return std::nullopt;
        const std::optional<bool> editableState = hasState(a, ATSPI_STATE_EDITABLE);
        if (!editableState)
            return std::nullopt;
        const Owned<AtspiEditableText> editableText(atspi_accessible_get_editable_text_iface(a));
        const Owned<AtspiText> text(atspi_accessible_get_text_iface(a));
        const bool writable = editableText && *editableState;
        return Settable{.value = writable, .selectedText = writable, .selectedRange = text != nullptr};
    }

    std::optional<int> characterCount(const AccessibleElement& element)
    {
        const Owned<AtspiText> text = textOf(element);
        if (!text)
            return std::nullopt;
        const Unit unit = unitOf(accessible(element));
        if (unit == Unit::Utf16) {
            Error error;
            const int count = atspi_text_get_character_count(text.get(), error.out());
            return error.failed() || count < 0 ? std::nullopt : std::optional<int>(count);
        }
        const std::optional<QString> all = readText(text.get(), 0, -1);
        return all ? std::optional<int>(static_cast<int>(all->size())) : std::nullopt;
    }

    std::optional<QString> text(const AccessibleElement& element, Range range)
    {
        const Owned<AtspiText> text = textOf(element);
        if (!text)
            return std::nullopt;
        const auto app = toApp(text.get(), unitOf(accessible(element)), range);
        if (!std::holds_alternative<AppRange>(app))
            return std::nullopt;
        const AppRange bounds = std::get<AppRange>(app);
        std::optional<QString> found = readText(text.get(), bounds.start, bounds.end);
        if (found && found->size() != range.length)
            return std::nullopt;
        return found;
    }

    WriteOutcome writeSelectedText(const AccessibleElement& element, const QString& newText)
    {
        AtspiAccessible* a = accessible(element);
        if (!a)
            return WriteOutcome::Failed;
        const Owned<AtspiEditableText> editableText(atspi_accessible_get_editable_text_iface(a));
        const Owned<AtspiText> text(atspi_accessible_get_text_iface(a));
        if (!editableText || !text || !hasState(a, ATSPI_STATE_EDITABLE).value_or(false))
            return WriteOutcome::Unsupported;
        const std::optional<AppRange> selection = appSelection(text.get());
        if (!selection)
            return WriteOutcome::Failed;
        AtspiText* t = text.get();
        AtspiEditableText* e = editableText.get();
        const Unit unit = unitOf(a);
        const SelectionRewrite::Steps steps{
            .read = [t](int start, int end) { return readText(t, start, end); },
            .remove =
                [e](int start, int end) {
                    Error error;
                    return atspi_editable_text_delete_text(e, start, end, error.out()) && !error.failed();
                },
            .insert = [e, unit](int position, const QString& inserted) -> std::optional<bool> {
                const QByteArray utf8 = inserted.toUtf8();
                // ATK toolkits read the length as bytes; Qt cuts or pads the text to that many
                // UTF-16 units (padding with NULs the application keeps).
                const qsizetype length = unit == Unit::Utf16 ? inserted.size() : utf8.size();
                Error error;
                const bool done = atspi_editable_text_insert_text(e, position, utf8.constData(),
                                                                  static_cast<gint>(length), error.out());
                if (error.failed())
                    return std::nullopt;
                return done;
            },
            .moveCaret =
                [t](int offset) {
                    Error error;
                    return atspi_text_set_caret_offset(t, offset, error.out()) && !error.failed();
                },
        };
        const int length = TextOffsets::length(unit, newText);
        return SelectionRewrite::apply(steps, selection->start, selection->end, newText, length);
    }

    WriteOutcome setSelectedRange(const AccessibleElement& element, Range range)
    {
        const Owned<AtspiText> text = textOf(element);
        if (!text)
            return accessible(element) ? WriteOutcome::Unsupported : WriteOutcome::Failed;
        const auto app = toApp(text.get(), unitOf(accessible(element)), range);
        if (!std::holds_alternative<AppRange>(app))
            return std::get<WriteOutcome>(app);
        const AppRange bounds = std::get<AppRange>(app);
        Error countError;
        const int count = atspi_text_get_n_selections(text.get(), countError.out());
        if (countError.failed())
            return WriteOutcome::Failed;
        Error error;
        bool done = false;
        if (bounds.end == bounds.start) {
            for (int i = 0; i < count; ++i)
                atspi_text_remove_selection(text.get(), 0, nullptr);
            done = atspi_text_set_caret_offset(text.get(), bounds.start, error.out());
        } else if (count > 0) {
            done = atspi_text_set_selection(text.get(), 0, bounds.start, bounds.end, error.out());
        } else {
            done = atspi_text_add_selection(text.get(), bounds.start, bounds.end, error.out());
        }
        return done && !error.failed() ? WriteOutcome::Done : WriteOutcome::Failed;
    }

    WriteOutcome focus(const AccessibleElement& element)
    {
        AtspiAccessible* a = accessible(element);
        if (!a)
            return WriteOutcome::Failed;
        const Owned<AtspiComponent> component(atspi_accessible_get_component_iface(a));
        if (!component)
            return WriteOutcome::Unsupported;
        Error error;
        const bool done = atspi_component_grab_focus(component.get(), error.out());
        return done && !error.failed() ? WriteOutcome::Done : WriteOutcome::Failed;
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
        return Private::element(up.release());
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
            if (std::optional<AccessibleElement> handle = Private::element(child))
                result.append(*handle);
        }
        return result;
    }
};

AtspiAccessibility::AtspiAccessibility()
    : m_d(std::make_unique<Private>())
{
    AtspiThread::shared().post([d = m_d.get()] { d->start(); });
}

AtspiAccessibility::~AtspiAccessibility()
{
    // Jobs run in order, so once this one ran no job of this instance is left to touch m_d.
    AtspiThread::shared().call<bool>([d = m_d.get()] {
        d->stop();
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
    return onThread<std::optional<AccessibleElement>>([this] { return m_d->focusedElement(); });
}

std::optional<Accessibility::Role> AtspiAccessibility::role(const AccessibleElement& element)
{
    return onThread<std::optional<Role>>([&] { return m_d->role(element); });
}

std::optional<bool> AtspiAccessibility::editable(const AccessibleElement& element)
{
    return onThread<std::optional<bool>>([&] { return m_d->editable(element); });
}

std::optional<QString> AtspiAccessibility::value(const AccessibleElement& element)
{
    return onThread<std::optional<QString>>([&] { return m_d->value(element); });
}

std::optional<QString> AtspiAccessibility::selectedText(const AccessibleElement& element)
{
    return onThread<std::optional<QString>>([&] { return m_d->selectedText(element); });
}

std::optional<Accessibility::Range> AtspiAccessibility::selectedRange(const AccessibleElement& element)
{
    return onThread<std::optional<Range>>([&] { return m_d->selectedRange(element); });
}

std::optional<Accessibility::Settable> AtspiAccessibility::settable(const AccessibleElement& element)
{
    return onThread<std::optional<Settable>>([&] { return m_d->settable(element); });
}

std::optional<int> AtspiAccessibility::characterCount(const AccessibleElement& element)
{
    return onThread<std::optional<int>>([&] { return m_d->characterCount(element); });
}

std::optional<QString> AtspiAccessibility::text(const AccessibleElement& element, Range range)
{
    return onThread<std::optional<QString>>([&] { return m_d->text(element, range); });
}

Accessibility::WriteOutcome AtspiAccessibility::writeSelectedText(const AccessibleElement& element,
                                                                  const QString& text)
{
    return onThread<WriteOutcome>([&] { return m_d->writeSelectedText(element, text); });
}

Accessibility::WriteOutcome AtspiAccessibility::setSelectedRange(const AccessibleElement& element,
                                                                 Range range)
{
    return onThread<WriteOutcome>([&] { return m_d->setSelectedRange(element, range); });
}

Accessibility::WriteOutcome AtspiAccessibility::focus(const AccessibleElement& element)
{
    return onThread<WriteOutcome>([&] { return m_d->focus(element); });
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
