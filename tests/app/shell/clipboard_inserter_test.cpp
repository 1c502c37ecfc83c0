#include "app/shell/clipboard_inserter.h"
#include "platform/fake/fake_pasteboard.h"
#include "platform/pasteboard_snapshot.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

PasteboardItem text(const char* value)
{
    return {QStringLiteral("text/plain"), QByteArray(value)};
}

} // namespace

TEST(ClipboardInserter, LeavesTheTextOnTheClipboardAndReportsTheUsersCopyItReplaced)
{
    struct Row {
        const char* name;
        QList<PasteboardItem> before;
        QStringList displaced;
    };
    const Row rows[] = {
        {.name = "own copy",
         .before = {text("copied earlier")},
         .displaced = {QStringLiteral("copied earlier")}},
        {.name = "empty clipboard", .before = {}, .displaced = {}},
        {.name = "same text", .before = {text("dictated")}, .displaced = {}},
        {.name = "password",
         .before = {text("hunter2"), {QString(PasteboardSnapshot::secretHintType), "secret"}},
         .displaced = {}},
    };
    for (const Row& row : rows) {
        FakePasteboard board;
        board.write(row.before);
        ClipboardInserter inserter(board);
        QSignalSpy displaced(&inserter, &ClipboardInserter::displacedClipboard);
        QObject context;
        std::optional<Inserter::Landing> landing;
        inserter.insert(QStringLiteral("dictated"), &context, [&](Inserter::Landing l) { landing = l; });
        EXPECT_FALSE(landing) << row.name << ": must answer later, as the paste inserter does";
        QCoreApplication::processEvents();

        EXPECT_EQ(landing, Inserter::Landing::KeptOnClipboard) << row.name;
        EXPECT_EQ(board.plainText(), QStringLiteral("dictated")) << row.name;
        QStringList reported;
        for (const QList<QVariant>& args : displaced)
            reported.append(args.first().toString());
        EXPECT_EQ(reported, row.displaced) << row.name;
    }
}
