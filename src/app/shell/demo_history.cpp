#include "app/shell/demo_history.h"

namespace {

HistoryEntry entry(const QDateTime& now, int minutesAgo, const QString& raw, const QString& text,
                   std::optional<QString> app, bool command = false)
{
    HistoryEntry e;
    // Fixed ids: every run draws the same picture.
    e.id = QUuid::fromString(
        QStringLiteral("00000000-0000-4000-8000-%1").arg(minutesAgo, 12, 10, QLatin1Char('0')));
    e.date = now.addSecs(-60LL * minutesAgo);
    e.raw = raw;
    e.text = text;
    e.duration = 4.2;
    e.app = std::move(app);
    if (command)
        e.wasCommand = true;
    return e;
}

} // namespace

QList<HistoryEntry> DemoHistory::entries(const QDateTime& now)
{
    HistoryEntry clipboard =
        entry(now, 41, QStringLiteral("https://example.org/tickets/4821"),
              QStringLiteral("https://example.org/tickets/4821"), QStringLiteral("Firefox"));
    clipboard.kind = HistoryEntry::clipboardKind;
    clipboard.duration.reset();
    return {
        entry(now, 3, QStringLiteral("hi anna thanks for the notes ill send the slides before lunch"),
              QStringLiteral("Hi Anna, thanks for the notes! I'll send the slides before lunch."),
              QStringLiteral("Mail")),
        entry(now, 18, QStringLiteral("make this friendlier can we move the call to thursday"),
              QStringLiteral("Would it be all right to move our call to Thursday? Thanks so much!"),
              QStringLiteral("Slack"), true),
        clipboard,
        entry(now, 60 * 24 - 30,
              QStringLiteral("the build passes on main now the flaky test was waiting on a timer"),
              QStringLiteral("The build passes on main now; the flaky test was waiting on a timer."),
              QStringLiteral("Text Editor")),
        entry(now, 60 * 24 + 95, QStringLiteral("buy oat milk call the landlord about the heating"),
              QStringLiteral("Buy oat milk, call the landlord about the heating."), std::nullopt),
        entry(now, 60 * 48 + 10,
              QStringLiteral("dear team the office is closed on friday please work from home"),
              QStringLiteral("Dear team, the office is closed on Friday. Please work from home."),
              QStringLiteral("Mail")),
        entry(now, 60 * 48 + 200, QStringLiteral("git commit dash m fix the date parser"),
              QStringLiteral("git commit -m \"Fix the date parser\""), QStringLiteral("Terminal")),
    };
}
