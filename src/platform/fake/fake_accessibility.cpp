#include "platform/fake/fake_accessibility.h"

#include "platform/fake/manual_clock.h"

#include <algorithm>
#include <ostream>

using Lock = std::lock_guard<std::recursive_mutex>;

FakeAccessibility::FakeAccessibility(ManualClock* clock)
    : m_clock(clock)
{
}

FakeAccessibility::Element FakeAccessibility::field(QString text, Range selection)
{
    Element element;
    element.text = std::move(text);
    element.selection = selection;
    return element;
}

AccessibleElement FakeAccessibility::add(Element element, const AccessibleElement& parent)
{
    const Lock lock(m_mutex);
    const int number = m_next++;
    if (element.name.isEmpty())
        element.name = QString::number(number);
    const AccessibleElement handle(QStringLiteral("fake:%1").arg(number), nullptr);
    Node node;
    node.element = std::move(element);
    node.handle = handle;
    node.parent = parent;
    m_nodes[handle.identity()] = std::move(node);
    if (!parent.isNull())
        m_nodes.at(parent.identity()).children.append(handle);
    return handle;
}

void FakeAccessibility::remove(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    m_nodes.at(element.identity()).gone = true;
}

void FakeAccessibility::edit(const AccessibleElement& element, const std::function<void(Element&)>& change)
{
    const Lock lock(m_mutex);
    change(m_nodes.at(element.identity()).element);
}

FakeAccessibility::Element FakeAccessibility::element(const AccessibleElement& element) const
{
    const Lock lock(m_mutex);
    return m_nodes.at(element.identity()).element;
}

void FakeAccessibility::setFocused(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    m_focused = element;
}

void FakeAccessibility::setTrusted(bool trusted)
{
    const Lock lock(m_mutex);
    m_trusted = trusted;
}

QList<FakeAccessibility::Call> FakeAccessibility::calls() const
{
    const Lock lock(m_mutex);
    return m_calls;
}

int FakeAccessibility::callCount(const AccessibleElement& element) const
{
    const Lock lock(m_mutex);
    const Node* node = find(element);
    return node ? node->calls : 0;
}

const FakeAccessibility::Node* FakeAccessibility::find(const AccessibleElement& element) const
{
    const auto it = m_nodes.find(element.identity());
    return it == m_nodes.end() ? nullptr : &it->second;
}

FakeAccessibility::Node* FakeAccessibility::find(const AccessibleElement& element)
{
    const auto it = m_nodes.find(element.identity());
    return it == m_nodes.end() ? nullptr : &it->second;
}

FakeAccessibility::Node* FakeAccessibility::reach(const AccessibleElement& element, const char* operation)
{
    if (!m_trusted)
        return nullptr;
    Node* node = find(element);
    if (!node || node->gone)
        return nullptr;
    ++node->calls;
    m_calls.append({QLatin1String(operation), node->element.name});
    const int delay = node->element.delayMs;
    if (m_clock && delay > 0)
        m_clock->advance(std::min(delay, timeoutMs));
    if (delay > timeoutMs || node->element.unreadable)
        return nullptr;
    return node;
}

bool FakeAccessibility::trusted()
{
    const Lock lock(m_mutex);
    return m_trusted;
}

std::optional<AccessibleElement> FakeAccessibility::focusedElement()
{
    const Lock lock(m_mutex);
    const Node* node = find(m_focused);
    if (!m_trusted || !node || node->gone)
        return std::nullopt;
    return m_focused;
}

std::optional<Accessibility::Role> FakeAccessibility::role(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    const Node* node = reach(element, "role");
    return node ? std::optional<Role>(node->element.role) : std::nullopt;
}

std::optional<bool> FakeAccessibility::editable(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    const Node* node = reach(element, "editable");
    return node ? std::optional<bool>(node->element.editable) : std::nullopt;
}

std::optional<QString> FakeAccessibility::value(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    const Node* node = reach(element, "value");
    if (!node || !node->element.textual)
        return std::nullopt;
    return node->element.text;
}

std::optional<QString> FakeAccessibility::selectedText(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    const Node* node = reach(element, "selectedText");
    if (!node || !node->element.textual)
        return std::nullopt;
    const Range selection = node->element.selection;
    return node->element.text.mid(selection.location, selection.length);
}

std::optional<Accessibility::Range> FakeAccessibility::selectedRange(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    const Node* node = reach(element, "selectedRange");
    if (!node || !node->element.textual)
        return std::nullopt;
    return node->element.selection;
}

std::optional<Accessibility::Settable> FakeAccessibility::settable(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    const Node* node = reach(element, "settable");
    if (!node)
        return std::nullopt;
    const bool writable = node->element.textual && node->element.editable;
    return Settable{.value = writable, .selectedText = writable, .selectedRange = node->element.textual};
}

std::optional<int> FakeAccessibility::characterCount(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    const Node* node = reach(element, "characterCount");
    if (!node || !node->element.textual)
        return std::nullopt;
    return static_cast<int>(node->element.text.size());
}

std::optional<QString> FakeAccessibility::text(const AccessibleElement& element, Range range)
{
    const Lock lock(m_mutex);
    const Node* node = reach(element, "text");
    if (!node || !node->element.textual || range.location < 0 || range.length < 0 ||
        range.location + range.length > node->element.text.size())
        return std::nullopt;
    return node->element.text.mid(range.location, range.length);
}

Accessibility::WriteOutcome FakeAccessibility::writeSelectedText(const AccessibleElement& element,
                                                                 const QString& text)
{
    const Lock lock(m_mutex);
    Node* node = reach(element, "writeSelectedText");
    if (!node)
        return WriteOutcome::Failed;
    Element& e = node->element;
    if (!e.textual || !e.editable)
        return WriteOutcome::Unsupported;
    if (e.refusesWrites)
        return WriteOutcome::Failed;
    e.text.replace(e.selection.location, e.selection.length, text);
    e.selection = {static_cast<int>(e.selection.location + text.size()), 0};
    return WriteOutcome::Done;
}

Accessibility::WriteOutcome FakeAccessibility::setSelectedRange(const AccessibleElement& element, Range range)
{
    const Lock lock(m_mutex);
    Node* node = reach(element, "setSelectedRange");
    if (!node)
        return WriteOutcome::Failed;
    Element& e = node->element;
    if (!e.textual)
        return WriteOutcome::Unsupported;
    if (range.location < 0 || range.length < 0 || range.location + range.length > e.text.size())
        return WriteOutcome::OutOfRange;
    if (e.refusesWrites)
        return WriteOutcome::Failed;
    e.selection = range;
    return WriteOutcome::Done;
}

Accessibility::WriteOutcome FakeAccessibility::focus(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    Node* node = reach(element, "focus");
    if (!node || node->element.refusesWrites)
        return WriteOutcome::Failed;
    m_focused = element;
    return WriteOutcome::Done;
}

std::optional<qint64> FakeAccessibility::processId(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    const Node* node = reach(element, "processId");
    return node ? std::optional<qint64>(node->element.pid) : std::nullopt;
}

std::optional<AccessibleElement> FakeAccessibility::parent(const AccessibleElement& element)
{
    const Lock lock(m_mutex);
    const Node* node = reach(element, "parent");
    if (!node || node->parent.isNull())
        return std::nullopt;
    return node->parent;
}

std::optional<QList<AccessibleElement>> FakeAccessibility::children(const AccessibleElement& element,
                                                                    int limit)
{
    const Lock lock(m_mutex);
    const Node* node = reach(element, "children");
    if (!node)
        return std::nullopt;
    return node->children.first(std::clamp(limit, 0, static_cast<int>(node->children.size())));
}

void FakeAccessibility::post(std::function<void()> job)
{
    ++m_runs;
    if (m_holding)
        m_held.push_back(std::move(job));
    else
        job();
}

void FakeAccessibility::runHeldJobs()
{
    m_holding = false;
    for (const std::function<void()>& job : std::exchange(m_held, {}))
        job();
}

QObject* FakeAccessibility::replyHop()
{
    return &m_hop;
}

void PrintTo(const FakeAccessibility::Call& call, std::ostream* out)
{
    *out << call.operation.toStdString() << ' ' << call.element.toStdString();
}
