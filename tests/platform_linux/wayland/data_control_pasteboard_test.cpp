#include "pasteboard_samples.h"
#include "test_text.h"
#include "wayland_peers.h"

#include "platform/linux/wayland/data_control_pasteboard.h"
#include "platform/linux/wayland/pipe_writer.h"
#include "platform/linux/wayland/wayland_connection.h"
#include "platform_linux/pasteboard_text_cases.h"
#include "service_check.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace WaylandPeers;

namespace {

using Items = QList<PasteboardItem>;

using PasteboardSamples::item;
using PasteboardSamples::multiType;
using PasteboardSamples::png;

QStringList typesOf(const Items& items)
{
    QStringList types;
    for (const PasteboardItem& each : items)
        types << each.type;
    return types;
}

// An image far larger than a pipe holds (64 KiB): written in many rounds.
QByteArray megabyte()
{
    QByteArray bytes(1 << 20, Qt::Uninitialized);
    QRandomGenerator generator(7);
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return bytes;
}

// Beside text/plain, the names Linux programs ask plain text by.
const QStringList textAliases{s("text/plain;charset=utf-8"), s("UTF8_STRING"), s("TEXT"), s("STRING")};

class DataControlPasteboardTest : public ::testing::Test {
protected:
    static constexpr DataControlPasteboard::Limits limits{.transferMs = 500, .confirmMs = 2000};

    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(m_board.ready(), "a Wayland compositor offering data control (sway of "
                                              "scripts/with-services, or the suite's own KWin)");
    }

    // The types a program connecting now is told of (wl-paste waits for ever on an empty clipboard
    // of KWin's).
    static QStringList typesForNewcomer()
    {
        WaylandConnection connection;
        return DataControlPasteboard(connection).types();
    }

    bool changedSince(quint64 count)
    {
        return QTest::qWaitFor([&] { return m_board.changeCount() != count; }, 5000);
    }

    WaylandConnection m_connection;
    DataControlPasteboard m_board{m_connection, limits};
};

TEST_F(DataControlPasteboardTest, AnotherProgramsCopyMovesTheCountAndComesBackTypeByType)
{
    struct Case {
        const char* what;
        Items offered;
        bool byWlCopy; // else by a program offering every item at once
    };
    // clang-format off
    const Case cases[] = {
        {.what = "text by wl-copy", .offered = {item("text/plain", "copied by hand")}, .byWlCopy = true},
        {.what = "an image by wl-copy", .offered = {item("image/png", png)}, .byWlCopy = true},
        {.what = "four types from one program", .offered = multiType, .byWlCopy = false},
        {.what = "a megabyte image", .offered = {item("image/bmp", megabyte())}, .byWlCopy = false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Their copy replaces one of ours, which must no longer be answered from memory; and the
        // owner of the row before has left by the time our write is confirmed.
        m_board.writeText(s("ours before"));
        const quint64 before = m_board.changeCount();
        std::optional<WlCopy> copying;
        std::optional<ClipboardOwner> owner;
        if (c.byWlCopy)
            copying.emplace(c.offered.first().type, c.offered.first().data);
        else
            ASSERT_TRUE(owner.emplace(c.offered).owns());
        ASSERT_TRUE(changedSince(before)) << "another program's copy left the change count alone";

        EXPECT_EQ(m_board.types().mid(0, c.offered.size()), typesOf(c.offered)) << "the owner's order";
        for (const PasteboardItem& offered : c.offered)
            EXPECT_EQ(m_board.data(offered.type), offered.data) << offered.type.toStdString();
        EXPECT_EQ(m_board.data(s("application/x-not-offered")), std::nullopt);
    }
}

TEST_F(DataControlPasteboardTest, OurWriteCountsOnceAndAnotherProgramReadsEveryType)
{
    const QByteArray big = megabyte();
    const Items written = multiType + Items{item("image/bmp", big)};
    m_board.writeText(s("an earlier write of ours"));
    const quint64 before = m_board.changeCount();
    m_board.write(written);
    EXPECT_EQ(m_board.changeCount(), before + 1);

    struct Case {
        const char* type;
        QByteArray expected;
    };
    const QByteArray text = multiType.first().data;
    // clang-format off
    const Case cases[] = {
        {.type = "text/plain", .expected = text},
        {.type = "text/plain;charset=utf-8", .expected = text},
        {.type = "UTF8_STRING", .expected = text},
        {.type = "TEXT", .expected = text},
        {.type = "STRING", .expected = text},
        {.type = "text/html", .expected = multiType[1].data},
        {.type = "image/png", .expected = png},
        {.type = "text/uri-list", .expected = multiType[3].data},
        {.type = "image/bmp", .expected = big},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(wlPaste(s(c.type)), c.expected) << "as another program reads it";
        EXPECT_EQ(m_board.data(s(c.type)), c.expected) << "as we read it";
    }
    EXPECT_EQ(wlTypes(), typesOf(written) + textAliases);
    EXPECT_EQ(m_board.types(), typesOf(written) + textAliases);
    QTest::qWait(0);
    EXPECT_EQ(m_board.changeCount(), before + 1) << "the compositor's notice of our own write counted again";
}

TEST_F(DataControlPasteboardTest, ARestoredClipboardComesBackWithEveryTypeAndAnEmptyOneEmpty)
{
    struct Case {
        const char* what;
        Items offered; // by another program; none leaves the clipboard empty
    };
    // clang-format off
    const Case cases[] = {
        {.what = "four types and a megabyte image", .offered = multiType + Items{item("image/bmp", megabyte())}},
        {.what = "empty", .offered = {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<ClipboardOwner> owner;
        const quint64 before = m_board.changeCount();
        if (c.offered.isEmpty())
            m_board.clear();
        else
            ASSERT_TRUE(owner.emplace(c.offered).owns());
        ASSERT_TRUE(changedSince(before));
        const QStringList typesBefore = typesForNewcomer();

        const PasteboardSnapshot saved = m_board.snapshot();
        m_board.writeText(s("dictated"));
        ASSERT_EQ(wlPaste(s("text/plain")), "dictated");
        m_board.restore(saved);

        EXPECT_EQ(typesForNewcomer(), typesBefore);
        for (const PasteboardItem& offered : c.offered)
            EXPECT_EQ(wlPaste(offered.type), offered.data) << offered.type.toStdString();
        EXPECT_EQ(m_board.types().isEmpty(), c.offered.isEmpty());
    }
}

TEST_F(DataControlPasteboardTest, PlainTextAndSecrecyOfWhatAnotherProgramOffers)
{
    // Wayland programs may offer UTF-8 text under its charset name only.
    const QList<PasteboardTextCase> cases =
        PasteboardTextCase::all() + QList<PasteboardTextCase>{
                                        {.what = "UTF-8 plain text alone",
                                         .offered = {item("text/plain;charset=utf-8", "Grüße")},
                                         .text = s("Grüße")},
                                    };
    for (const PasteboardTextCase& c : cases) {
        SCOPED_TRACE(c.what);
        const quint64 before = m_board.changeCount();
        const ClipboardOwner owner(c.offered);
        ASSERT_TRUE(owner.owns());
        ASSERT_TRUE(changedSince(before));
        c.expectReadBy(m_board);
    }
}

TEST_F(DataControlPasteboardTest, AnOwnerThatNeverFinishesIsGivenUpOnWithinTheLimit)
{
    struct Case {
        const char* what;
        const char* mode;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "sends nothing", .mode = "silent"},
        {.what = "stops after some bytes", .mode = "some bytes"},
        {.what = "sends a byte now and then, never the end", .mode = "trickling"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const quint64 before = m_board.changeCount();
        const ClipboardOwner owner({item("text/plain", {})}, s(c.mode));
        ASSERT_TRUE(owner.owns());
        ASSERT_TRUE(changedSince(before));
        ASSERT_EQ(m_board.types(), QStringList{s("text/plain")});

        QElapsedTimer waited;
        waited.start();
        EXPECT_EQ(m_board.data(s("text/plain")), std::nullopt);
        // Generous against a loaded machine; without a limit the read never returns.
        EXPECT_LT(waited.elapsed(), limits.transferMs + 2000);
        waited.restart();
        EXPECT_EQ(m_board.snapshot(), PasteboardSnapshot());
        EXPECT_LT(waited.elapsed(), limits.transferMs) << "the same unresponsive owner was waited for again";
    }
}

TEST_F(DataControlPasteboardTest, AReaderThatStopsReadingNeitherStallsNorEndsUs)
{
    const QByteArray big = megabyte();
    m_board.write({item("image/bmp", big), item("text/plain", "small")});
    QTemporaryDir dir;
    const QString fifo = dir.filePath(s("never-read"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Held open and never read: the reader's output, and so its input from us, fill up and stop.
    const int neverRead = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(neverRead, 0);
    WlPasteInto stuck(s("image/bmp"), fifo);
    // Qt ignores SIGPIPE once it starts a process; the program may not have started one yet.
    const auto previous = std::signal(SIGPIPE, SIG_DFL);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_board.findChildren<PipeWriter*>().isEmpty(); }, 5000));

    EXPECT_EQ(wlPaste(s("text/plain")), "small") << "another reader was kept waiting";

    // The stuck reader goes away mid-transfer (wl-paste copies through a cat of its own, which
    // ends once its output has no reader): writing on must not raise SIGPIPE here.
    ASSERT_TRUE(stuck.stop());
    ::close(neverRead);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_board.findChildren<PipeWriter*>().isEmpty(); }, 5000));
    std::signal(SIGPIPE, previous);
    EXPECT_EQ(wlPaste(s("image/bmp")), big);
}

// A terminal pastes Shift+Insert from the primary selection: ours must reach it there, and the
// user's selection come back, without the clipboard moving.
TEST_F(DataControlPasteboardTest, ThePrimarySelectionIsABoardOfItsOwn)
{
    DataControlPasteboard primary(m_connection, limits, DataControlPasteboard::Selection::Primary);
    ASSERT_TRUE(primary.ready()) << "the compositor offers data control without the primary selection";
    m_board.writeText(s("on the clipboard"));
    const quint64 clipboard = m_board.changeCount();

    // wl-paste would wait for ever on an empty selection of KWin's.
    primary.writeText(s("ours before"));
    const WlCopy selected({}, "selected by the user", {}, true);
    ASSERT_TRUE(selected.offered());
    EXPECT_TRUE(QTest::qWaitFor([&] { return primary.plainText() == s("selected by the user"); }, 5000));
    const PasteboardSnapshot users = primary.snapshot();

    primary.writeText(s("dictated"));
    EXPECT_EQ(wlPastePrimary(), "dictated");
    primary.restore(users);
    EXPECT_EQ(wlPastePrimary(), "selected by the user");

    EXPECT_EQ(wlPaste(s("text/plain")), "on the clipboard");
    EXPECT_EQ(m_board.changeCount(), clipboard) << "a primary selection counted as a copy";
}

} // namespace
