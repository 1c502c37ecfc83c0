#include "fake_desktop.h"

FakeDesktop::FakeDesktop()
    : InserterRig({a11y, keys, board, windows, clock, ownPid}, [this](const auto&) { pump(1); })
{
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
    const bool control =
        element.role == Accessibility::Role::Terminal && target == KeySynthesizer::Target::Application;
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
    const QString inserted = board.plainText().value_or(QString());
    a11y.edit(*focused, [&](FakeAccessibility::Element& e) {
        e.text.replace(e.selection.location, e.selection.length, inserted);
        e.selection = {static_cast<int>(e.selection.location + inserted.size()), 0};
    });
}
