#include "fake_mutter.h"
#include "pasteboard_samples.h"
#include "platform_linux/pasteboard_text_cases.h"
#include "service_check.h"
#include "test_text.h"
#include "wayland_peers.h"

#include "core/base/system_clock.h"
#include "dictation/insert/paste_cycle.h"
#include "platform/linux/gnome/mutter_keyboard.h"
#include "platform/linux/gnome/mutter_pasteboard.h"
#include "platform/linux/gnome/mutter_remote_desktop.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace WaylandPeers;

namespace {

using PasteboardSamples::item;
using PasteboardSamples::multiType;

// What the desktop offers for items one of us wrote: GTK reads text only as UTF-8 by name, so the
// plain text is offered under that name too.
QList<PasteboardItem> offeredFor(const QList<PasteboardItem>& items)
{
    QList<PasteboardItem> offered = items;
    const auto plain = std::find_if(items.begin(), items.end(),
                                    [](const PasteboardItem& i) { return i.type == s("text/plain"); });
    const bool utf8 = std::any_of(items.begin(), items.end(), [](const PasteboardItem& i) {
        return i.type == s("text/plain;charset=utf-8");
    });
    if (plain != items.end() && !utf8)
        offered << item("text/plain;charset=utf-8", plain->data);
    return offered;
}

const QList<PasteboardItem> multiTypeOffered = offeredFor(multiType);

QStringList typesOf(const QList<PasteboardItem>& items)
{
    QStringList types;
    for (const PasteboardItem& item : items)
        types << item.type;
    return types;
}

class MutterPasteboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(compositorPresent(), "the headless GNOME compositor of scripts/with-services");
        // The session's signals flow from the first turn of the loop on.
        QCoreApplication::processEvents();
        ASSERT_EQ(m_board.unavailableReason(), QString());
    }

    // Until another program's copy has been announced.
    bool changed(quint64 before)
    {
        return waitFor([&] { return m_board.changeCount() != before; });
    }

    MutterRemoteDesktop m_desktop;
    // wl-clipboard needs the focus of a window of its own, which a seat without a keyboard never gives.
    MutterKeyboard m_keyboard{m_desktop};
    MutterPasteboard m_board{m_desktop};
};

TEST_F(MutterPasteboardTest, AnotherProgramsCopyMovesTheCountAndComesBackTypeByType)
{
    const quint64 before = m_board.changeCount();
    const ClipboardOwner owner(multiType);
    ASSERT_TRUE(owner.owns());
    ASSERT_TRUE(changed(before)) << "another program's copy left the change count alone";

    const PasteboardSnapshot snapshot = m_board.snapshot();
    EXPECT_EQ(snapshot.items, multiTypeOffered)
        << "types in the owner's order, bytes untouched, nothing else";
    EXPECT_EQ(snapshot.text, s("Grüße aus Wien"));
}

TEST_F(MutterPasteboardTest, OurWriteCountsOnceAndReachesAnotherProgramIntact)
{
    const quint64 before = m_board.changeCount();
    m_board.write(multiType);
    EXPECT_EQ(m_board.changeCount(), before + 1);

    EXPECT_EQ(wlTypes(), typesOf(multiTypeOffered));
    for (const PasteboardItem& offered : multiTypeOffered)
        EXPECT_EQ(wlPaste(offered.type), offered.data) << offered.type.toStdString();
    EXPECT_EQ(m_board.changeCount(), before + 1) << "the desktop's notice of our own write counted again";
    EXPECT_EQ(m_board.snapshot().items, multiType);
}

TEST_F(MutterPasteboardTest, AnEmptyClipboardIsRestoredEmptyAndAClearEmptiesAnotherProgramsCopy)
{
    m_board.clear();
    const PasteboardSnapshot empty = m_board.snapshot();
    EXPECT_TRUE(empty.items.isEmpty());
    m_board.writeText(s("dictated"));
    m_board.restore(empty);
    EXPECT_EQ(wlPaste(), std::nullopt) << "the dictated text stayed behind";
    EXPECT_TRUE(m_board.types().isEmpty());

    const quint64 before = m_board.changeCount();
    const WlCopy theirs(s("text/plain"), "theirs");
    ASSERT_TRUE(changed(before));
    EXPECT_EQ(m_board.plainText(), s("theirs"));
    const quint64 cleared = m_board.changeCount() + 1;
    m_board.clear();
    EXPECT_EQ(wlPaste(), std::nullopt);
    EXPECT_EQ(m_board.changeCount(), cleared) << "our own clear counted twice";
}

TEST_F(MutterPasteboardTest, PlainTextAndSecrecyOfWhatAnotherProgramOffers)
{
    // Wayland programs may offer UTF-8 text under its charset name only.
    const QList<PasteboardTextCase> cases =
        PasteboardTextCase::all() + QList<PasteboardTextCase>{
                                        {.what = "UTF-8 plain text alone",
                                         .offered = {item("text/plain;charset=utf-8", "Grüße")},
                                         .text = s("Grüße")},
                                    };
    // Each owner stays until the next has displaced it: one that leaves hands the clipboard to the
    // compositor's keeper, whose notice could come late and pass for the next owner's.
    std::unique_ptr<ClipboardOwner> owner;
    for (const PasteboardTextCase& c : cases) {
        SCOPED_TRACE(c.what);
        const quint64 before = m_board.changeCount();
        auto next = std::make_unique<ClipboardOwner>(c.offered);
        ASSERT_TRUE(next->owns());
        owner = std::move(next);
        ASSERT_TRUE(waitFor([&] {
            return m_board.changeCount() != before && m_board.types() == typesOf(offeredFor(c.offered));
        }));
        c.expectReadBy(m_board);
    }
}

TEST_F(MutterPasteboardTest, ASnapshotKeepsTheOwnersOrderLeavesOutEmptyTypesAndTakesTheTextFromWhatItRead)
{
    const QByteArray png("\x89PNG\r\n\x1a\n\0\x01", 10);
    struct Case {
        const char* what;
        QList<PasteboardItem> offered;
        QList<PasteboardItem> kept;
        std::optional<QString> text;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "image before text stays first", .offered = {item("image/png", png), item("text/plain", "a")}, .kept = {item("image/png", png), item("text/plain", "a"), item("text/plain;charset=utf-8", "a")}, .text = s("a")},
        {.what = "an empty type is left out", .offered = {item("text/html", ""), item("image/png", png), item("text/plain", "b")}, .kept = {item("image/png", png), item("text/plain", "b"), item("text/plain;charset=utf-8", "b")}, .text = s("b")},
        {.what = "the HTML's text when the plain is blank", .offered = {item("text/plain", " "), item("text/html", "<i>c</i>")}, .kept = {item("text/plain", " "), item("text/html", "<i>c</i>"), item("text/plain;charset=utf-8", " ")}, .text = s("c")},
        {.what = "no text among the types", .offered = {item("image/png", png)}, .kept = {item("image/png", png)}, .text = std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const quint64 before = m_board.changeCount();
        const ClipboardOwner owner(c.offered);
        ASSERT_TRUE(owner.owns());
        ASSERT_TRUE(changed(before));

        const PasteboardSnapshot snapshot = m_board.snapshot();
        EXPECT_EQ(typesOf(snapshot.items), typesOf(c.kept));
        EXPECT_EQ(snapshot.items, c.kept);
        EXPECT_EQ(snapshot.text, c.text);
    }
}

TEST_F(MutterPasteboardTest, ThePasteCycleRestoresTheUsersCopyUnlessTheyCopiedAgain)
{
    struct Case {
        const char* what;
        bool copiesAgain;
        QByteArray left;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "nothing copied meanwhile", .copiesAgain = false, .left = "the user's"},
        {.what = "a newer copy", .copiesAgain = true, .left = "newer"},
    };
    // clang-format on
    SystemClock clock;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const quint64 before = m_board.changeCount();
        const WlCopy users(s("text/plain"), "the user's");
        ASSERT_TRUE(changed(before));

        PasteCycle cycle(m_board, clock,
                         [](const QString&, std::function<void(bool)> answer) { answer(true); });
        EXPECT_EQ(cycle.open().text, s("the user's"));
        cycle.write(s("dictated"));
        EXPECT_EQ(wlPaste(), "dictated");

        std::optional<WlCopy> newer;
        if (c.copiesAgain) {
            const quint64 written = m_board.changeCount();
            newer.emplace(s("text/plain"), "newer");
            ASSERT_TRUE(changed(written));
        }
        cycle.restoreNow();
        EXPECT_EQ(wlPaste(), c.left);
    }
}

TEST(MutterPasteboardOnAFakeDesktop, AReadRefusedWhileTheLastOneWindsUpIsWaitedOutUnlessThatOneStalled)
{
    const QList<PasteboardItem> password{item("text/plain", "hunter2"),
                                         item("x-kde-passwordManagerHint", "secret")};
    struct Case {
        const char* what;
        FakeMutter::Reads reads;
        QList<PasteboardItem> snapshot;
        qsizetype selectionReads; // the compositor is not flooded with a read it will keep refusing
    };
    // clang-format off
    const Case cases[] = {
        {.what = "each read refused twice after the one before", .reads = {.refusedAfterEach = 2}, .snapshot = password, .selectionReads = 1 + 3},
        {.what = "the owner never finishes the first read", .reads = {.stall = true}, .snapshot = {}, .selectionReads = 2},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PrivateBus bus;
        FakeMutter fake(bus, {}, c.reads);
        MutterRemoteDesktop desktop(bus.connect(s("client")));
        MutterPasteboard board(desktop);
        const quint64 before = board.changeCount();
        fake.copy(password);
        ASSERT_TRUE(waitFor([&] { return board.changeCount() != before; }));

        const PasteboardSnapshot snapshot = board.snapshot();
        EXPECT_EQ(snapshot.items, c.snapshot);
        EXPECT_EQ(snapshot.isSecret(), !c.snapshot.isEmpty()) << "a password would be taken for plain text";
        EXPECT_EQ(fake.calls(s("SelectionRead")).size(), c.selectionReads);
    }
}

} // namespace
