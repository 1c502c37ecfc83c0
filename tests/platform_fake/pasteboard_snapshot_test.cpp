#include "test_text.h"

#include "platform/fake/fake_pasteboard.h"

#include <gtest/gtest.h>

namespace {

PasteboardItem item(const char* type, const char* data)
{
    return {s(type), QByteArray(data)};
}

TEST(PasteboardSnapshot, KeepsTypesWithDataInOrderAndHidesASecretFromTheDisplacedReport)
{
    struct Case {
        const char* what;
        QList<PasteboardItem> board;
        QList<PasteboardItem> kept;
        bool secret;
        std::optional<QString> displaced;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "an empty type is left out", .board = {item("image/png", ""), item("text/plain", " word ")}, .kept = {item("text/plain", " word ")}, .secret = false, .displaced = s(" word ")},
        {.what = "a password manager's copy", .board = {item("text/plain", "hunter2"), item("x-kde-passwordManagerHint", "secret")}, .kept = {item("text/plain", "hunter2"), item("x-kde-passwordManagerHint", "secret")}, .secret = true, .displaced = std::nullopt},
        {.what = "the hint with a line break", .board = {item("x-kde-passwordManagerHint", "secret\n"), item("text/plain", "pin")}, .kept = {item("x-kde-passwordManagerHint", "secret\n"), item("text/plain", "pin")}, .secret = true, .displaced = std::nullopt},
        {.what = "a hint that says otherwise", .board = {item("text/plain", "note"), item("x-kde-passwordManagerHint", "public")}, .kept = {item("text/plain", "note"), item("x-kde-passwordManagerHint", "public")}, .secret = false, .displaced = s("note")},
        {.what = "only white space is no text", .board = {item("text/plain", " \n")}, .kept = {item("text/plain", " \n")}, .secret = false, .displaced = std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakePasteboard board;
        board.write(c.board);
        const PasteboardSnapshot snapshot = board.snapshot();
        EXPECT_EQ(snapshot.items, c.kept);
        EXPECT_EQ(snapshot.isSecret(), c.secret);
        EXPECT_EQ(snapshot.displacedText(), c.displaced);

        board.writeText(s("dictated"));
        board.restore(snapshot);
        EXPECT_EQ(board.items(), c.kept);
    }
}

TEST(PasteboardSnapshot, AnEmptyClipboardComesBackEmpty)
{
    FakePasteboard board;
    const PasteboardSnapshot empty = board.snapshot();
    board.writeText(s("dictated"));
    const quint64 before = board.changeCount();
    board.restore(empty);
    EXPECT_TRUE(board.types().isEmpty());
    EXPECT_EQ(board.plainText(), std::nullopt);
    EXPECT_GT(board.changeCount(), before) << "clearing is a change";
}

} // namespace
