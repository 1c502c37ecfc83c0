#pragma once

#include "dictation/insert/text_inserter.h"
#include "platform/fake/manual_clock.h"
#include "platform/permission_probe.h"

#include <QCoreApplication>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

// A TextInserter over the desktop a paste suite gives it (fakes, a compositor's clipboard or the
// real X11 backends), with accessibility the suite can withdraw and a log of the clipboards it
// reported as displaced.
class InserterRig {
public:
    class Permissions final : public PermissionProbe {
    public:
        bool microphoneAvailable() const override { return true; }
        bool accessibilityTrusted() const override { return trusted; }
        bool trusted = true;
    };
    struct Desktop {
        Accessibility& accessibility;
        KeySynthesizer& keys;
        Pasteboard& pasteboard;
        WindowSystem& windows;
        Clock& clock;
        qint64 ownPid;
        Pasteboard* primary = nullptr; // the primary selection, where the desktop lets us write it
    };
    // Lets the insert run until `done` or for as long as the suite's desktop needs to answer.
    using Settle = std::function<void(const std::function<bool()>& done)>;

    InserterRig(const Desktop& desktop, Settle settle)
        : inserter({desktop.accessibility, desktop.keys, desktop.pasteboard, desktop.windows, permissions,
                    desktop.clock, desktop.ownPid, desktop.primary})
        , m_settle(std::move(settle))
    {
        QObject::connect(&inserter, &TextInserter::clipboardDisplaced, &context,
                         [this](const QString& text) { displaced << text; });
    }

    // Inserts and lets the chord go out; on a manual clock the restore is still waiting then.
    std::optional<InsertResult> insert(const QString& text)
    {
        std::optional<InsertResult> result;
        inserter.insert(text, &context, [&](const InsertResult& r) { result = r; });
        m_settle([&] { return result.has_value(); });
        return result;
    }

    // Moves a manual clock one millisecond at a time, delivering queued replies in between.
    static void pump(ManualClock& clock, int ms)
    {
        QCoreApplication::processEvents();
        for (int i = 0; i < ms; ++i) {
            clock.advance(1);
            QCoreApplication::processEvents();
        }
        clock.advance(0);
        QCoreApplication::processEvents();
    }

    Permissions permissions;
    QObject context;
    TextInserter inserter;
    QStringList displaced;

private:
    Settle m_settle;
};
