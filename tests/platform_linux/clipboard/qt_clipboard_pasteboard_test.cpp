#include "clipboard_peer.h"
#include "pasteboard_samples.h"
#include "test_text.h"

#include "platform/linux/clipboard/qt_clipboard_pasteboard.h"
#include "platform_linux/pasteboard_text_cases.h"
#include "service_check.h"

#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using PasteboardSamples::item;
using PasteboardSamples::multiType;

class QtClipboardPasteboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(QGuiApplication::platformName() == QLatin1String("xcb"),
                             "the X server of scripts/with-services and QT_QPA_PLATFORM=xcb");
    }

    QtClipboardPasteboard m_board;
};

TEST_F(QtClipboardPasteboardTest, AnotherProgramsCopyMovesTheCountAndComesBackTypeByType)
{
    const quint64 before = m_board.changeCount();
    ClipboardPeer peer;
    ASSERT_TRUE(peer.serve(multiType));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_board.changeCount() != before; }, 5000))
        << "another program's copy left the change count alone";

    const PasteboardSnapshot snapshot = m_board.snapshot();
    EXPECT_EQ(snapshot.items, multiType) << "types in the owner's order, bytes untouched, nothing else";
    EXPECT_EQ(snapshot.text, s("Grüße aus Wien"));
}

TEST_F(QtClipboardPasteboardTest, OurWriteCountsOnceAndReachesAnotherProgramIntact)
{
    const quint64 before = m_board.changeCount();
    m_board.write(multiType);
    EXPECT_EQ(m_board.changeCount(), before + 1);

    const auto seen = ClipboardPeer::read();
    EXPECT_EQ(m_board.changeCount(), before + 1) << "the server's notice of our own write counted again";
    ASSERT_TRUE(seen) << "the other program could not read the clipboard";
    for (const PasteboardItem& written : multiType)
        EXPECT_TRUE(seen->contains(written)) << written.type.toStdString();
}

TEST_F(QtClipboardPasteboardTest, AnEmptyClipboardIsRestoredEmpty)
{
    m_board.clear();
    const PasteboardSnapshot empty = m_board.snapshot();
    EXPECT_TRUE(empty.items.isEmpty());
    m_board.writeText(s("dictated"));
    m_board.restore(empty);

    EXPECT_EQ(ClipboardPeer::read(), QList<PasteboardItem>()) << "the dictated text stayed behind";
    EXPECT_TRUE(m_board.types().isEmpty());
}

TEST_F(QtClipboardPasteboardTest, ClearingEmptiesAnotherProgramsClipboard)
{
    ClipboardPeer peer;
    ASSERT_TRUE(peer.serve({item("text/plain", "theirs")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_board.plainText() == s("theirs"); }, 5000));
    m_board.clear();
    EXPECT_EQ(ClipboardPeer::read(), QList<PasteboardItem>());
}

TEST_F(QtClipboardPasteboardTest, PlainTextAndSecrecyOfWhatAnotherProgramOffers)
{
    for (const PasteboardTextCase& c : PasteboardTextCase::all()) {
        SCOPED_TRACE(c.what);
        const quint64 before = m_board.changeCount();
        ClipboardPeer peer;
        ASSERT_TRUE(peer.serve(c.offered));
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_board.changeCount() != before; }, 5000));
        c.expectReadBy(m_board);
    }
}

} // namespace
