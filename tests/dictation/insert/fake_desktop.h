#pragma once

#include "inserter_rig.h"
#include "platform/fake/fake_accessibility.h"
#include "platform/fake/fake_key_synthesizer.h"
#include "platform/fake/fake_pasteboard.h"
#include "platform/fake/fake_window_system.h"
#include "platform/fake/manual_clock.h"

#include <QObject>

// The fakes a FakeDesktop is made of, built before the inserter that stands on them.
struct FakeDesktopServices {
    ManualClock clock;
    FakeAccessibility a11y{&clock};
    FakePasteboard board;
    FakePasteboard primary;
    FakeKeySynthesizer keys{clock};
    FakeWindowSystem windows;
};

// The inserter on a fake desktop where posted chords act as a real application would: a paste
// types the clipboard's text over the focused element's selection, a copy puts the selection on
// the clipboard (and a terminal takes Ctrl+C as an interrupt and Shift+Insert from the primary
// selection). An application's window is active until a test says otherwise.
class FakeDesktop final : public QObject, public FakeDesktopServices, public InserterRig {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeDesktop)

public:
    static constexpr qint64 ownPid = 777;

    // Without a primary selection, as in a session that offers none to write.
    explicit FakeDesktop(bool primarySelection = true);
    ~FakeDesktop() override;

    // Adds an element and gives it the focus.
    AccessibleElement focus(FakeAccessibility::Element element, const AccessibleElement& parent = {});
    QString textOf(const AccessibleElement& element) const { return a11y.element(element).text; }
    // Moves the clock one millisecond at a time, delivering queued replies in between.
    void pump(int ms) { InserterRig::pump(clock, ms); }
    // Lets the selection probe's worker finish, then pumps.
    void finishProbe(int ms) { pump(ms); }

    int interrupts = 0;
    int copyLagMs = 0;        // the application answers a copy this much later
    int pasteLagMs = 0;       // the application takes a paste in this much later, from the clipboard then
    bool ignoresCopy = false; // the application copies nothing

private:
    void receive(KeySynthesizer::Chord chord, KeySynthesizer::Target target);
    void paste(const AccessibleElement& focused, bool fromPrimary);
};
