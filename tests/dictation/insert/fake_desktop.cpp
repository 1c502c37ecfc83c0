#include "fake_desktop.h"

FakeDesktop::FakeDesktop(bool primarySelection)
    : InserterRig({a11y, keys, board, windows, clock, ownPid, primarySelection ? &primary : nullptr},
                  [this](const auto&) { pump(1); })
{
    windows.setActive(AppWindow{.window = 1, .app = {}, .pid = 4242, .windowClass = {}, .terminal = false});
    connect(&keys, &FakeKeySynthesizer::chordPosted, this, &FakeDesktop::receive);
}

FakeDesktop::~FakeDesktop() = default;

AccessibleElement FakeDesktop::focus(FakeAccessibility::Element element, const AccessibleElement& parent)
{
    const AccessibleElement handle = a11y.add(std::move(element), parent);
    a11y.setFocused(handle);
    return handle;
}

void FakeDesktop::receive(KeySynthesizer::Chord chord, KeySynthesizer::Target target)
{
    using Chord = KeySynthesizer::Chord;
    const std::optional<AccessibleElement> focused = a11y.focusedElement();
    if (!focused)
        return;
    const FakeAccessibility::Element element = a11y.element(*focused);
    // Terminals read Ctrl+C and Ctrl+V as control characters.
    const bool terminal = element.role == Accessibility::Role::Terminal;
    const bool control = terminal && target == KeySynthesizer::Target::Application;
    if (chord == Chord::Copy) {
        if (control) {
            ++interrupts;
            return;
        }
        if (ignoresCopy || element.selection.length == 0)
            return;
        const QString copied = element.text.mid(element.selection.location, element.selection.length);
        clock.singleShot(copyLagMs, this, [this, copied] { board.writeText(copied); });
        return;
    }
    if (control)
        return;
    const bool fromPrimary = terminal && target == KeySynthesizer::Target::ShiftInsert;
    if (pasteLagMs > 0)
        clock.singleShot(pasteLagMs, this,
                         [this, element = *focused, fromPrimary] { paste(element, fromPrimary); });
    else
        paste(*focused, fromPrimary);
}

void FakeDesktop::paste(const AccessibleElement& focused, bool fromPrimary)
{
    const QString inserted = (fromPrimary ? primary : board).plainText().value_or(QString());
    a11y.edit(focused, [&](FakeAccessibility::Element& e) {
        e.text.replace(e.selection.location, e.selection.length, inserted);
        e.selection = {static_cast<int>(e.selection.location + inserted.size()), 0};
    });
}
