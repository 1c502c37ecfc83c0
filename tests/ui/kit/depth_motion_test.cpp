#include "widget_helpers.h"

#include "platform/fake/manual_clock.h"
#include "ui/kit/card.h"
#include "ui/kit/fold_away.h"
#include "ui/kit/motion.h"
#include "ui/kit/page.h"
#include "ui/kit/reveal.h"
#include "ui/kit/shadow_art.h"
#include "ui/kit/thin_scroll_style.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A page of `cards` cards, each `cardHeight` high, in a shown window of 800 × 600.
struct PageRig {
    explicit PageRig(int cards, int cardHeight = 120)
        : page(new Page(QStringLiteral("History"), QStringLiteral("Your past dictations")))
    {
        for (int i = 0; i < cards; ++i) {
            auto* card = new Card(18);
            card->setFixedHeight(cardHeight);
            page->content()->addWidget(card);
            this->cards << card;
        }
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(page);
        window->resize(800, 600);
        window->show();
        settle();
    }

    Page* page;
    QList<Card*> cards;
    std::unique_ptr<QWidget> window;
};

// The darkest alpha a painted column of the image has at x over rows [from, to).
int shadowAlpha(const QImage& image, int x, int from, int to)
{
    int most = 0;
    for (int y = from; y < to; ++y)
        most = std::max(most, 255 - qGray(image.pixel(x, y)));
    return most;
}

TEST(PageDepth, CardsStand22ApartAndTheColumnKeepsItsPlaceWhenTheScrollBarComes)
{
    struct Case {
        int cards;
        bool scrolls;
    };
    // clang-format off
    const Case cases[] = {
        {.cards = 1, .scrolls = false},
        {.cards = 6, .scrolls = true},
    };
    // clang-format on
    const QRect alone = PageRig(1).page->column();
    const auto across = [](const QRect& r) { return std::pair(r.left(), r.width()); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cards);
        PageRig rig(c.cards);
        EXPECT_EQ(rig.page->verticalScrollBar()->isVisible(), c.scrolls);
        EXPECT_EQ(across(rig.page->column()), across(alone)) << "the column moved when the bar came";
        for (int i = 1; i < rig.cards.size(); ++i)
            EXPECT_EQ(rig.cards[i]->y() - rig.cards[i - 1]->geometry().bottom() - 1, 22);
    }
}

TEST(PageDepth, ACardsShadowFallsOutsideItSofterAboveThanBelowAndIsBlurredOnceForEverySize)
{
    PageRig rig(1);
    Card& card = *rig.cards.first();
    QPalette light = rig.window->palette();
    light.setColor(QPalette::Window, Qt::white);
    light.setColor(QPalette::Base, Qt::white);
    rig.window->setPalette(light);
    settle();
    const QImage image = rig.window->grab().toImage();
    const QRect box(card.mapTo(rig.window.get(), QPoint(0, 0)), card.size());
    const int x = box.center().x();
    const int below = shadowAlpha(image, x, box.bottom() + 1, box.bottom() + 4);
    const int above = shadowAlpha(image, x, box.top() - 3, box.top());
    EXPECT_GT(below, 0) << "no shadow under the card";
    EXPECT_GT(below, above) << "the shadow is not three points down";
    EXPECT_EQ(shadowAlpha(image, x, box.bottom() + 17, box.bottom() + 30), 0) << "the blur reaches too far";

    const int kept = ShadowArt::cachedCount();
    for (int height : {80, 140, 200}) {
        card.setFixedHeight(height);
        settle();
        rig.window->grab();
    }
    EXPECT_EQ(ShadowArt::cachedCount(), kept) << "a new size blurred its shadow again";
}

// What a widget painted since it was watched.
struct PaintLog final : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TEST(PageDepth, ACardThatMovesOrShrinksLeavesNoShadowWhereItStood)
{
    struct Case {
        const char* what;
        int shrinks; // the card made 60 high; the last card moves or shrinks with it
    };
    // clang-format off
    const Case cases[] = {
        {.what = "moved", .shrinks = 0},
        {.what = "shrank", .shrinks = 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PageRig rig(2);
        QWidget& host = *rig.cards.first()->parentWidget();
        const QRect last = rig.cards.last()->geometry();
        PaintLog log;
        host.installEventFilter(&log);
        rig.cards[c.shrinks]->setFixedHeight(60);
        settle();
        EXPECT_TRUE(log.painted.contains(QRect(last.left(), last.bottom() + 1, last.width(), 3)))
            << "the shadow under the last card's old place was not painted over";
    }
}

TEST(PageDepth, EveryScrollBarOnAPageIsTheThinOneWithoutArrowButtons)
{
    auto* editor = new QPlainTextEdit(QString(QStringLiteral("line\n")).repeated(200));
    editor->setFixedHeight(200);
    PageRig rig(6);
    rig.page->content()->addWidget(editor);
    settle();
    for (QScrollBar* bar : {rig.page->verticalScrollBar(), editor->verticalScrollBar()}) {
        SCOPED_TRACE(bar == editor->verticalScrollBar() ? "editor" : "page");
        EXPECT_NE(qobject_cast<ThinScrollStyle*>(bar->style()), nullptr);
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.minimum = 0;
        option.maximum = 100;
        option.pageStep = 10;
        for (const auto arrow : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine})
            EXPECT_TRUE(bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, bar).isEmpty());
    }
}

// Three rows 40 high, 10 apart, in a shown window.
struct RowsRig {
    RowsRig()
    {
        window.resize(300, 300);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(10);
        for (int i = 0; i < 3; ++i) {
            rows << new QLabel(QStringLiteral("row %1").arg(i));
            rows.last()->setFixedHeight(40);
            layout->addWidget(rows.last());
        }
        layout->addStretch(1);
        window.show();
        settle();
    }

    QWidget window;
    QList<QPointer<QLabel>> rows;
};

TEST(KitMotion, ARemovedRowFoldsAwayOnTheClockAndTheRowsBelowCloseUp)
{
    struct Case {
        bool animated;
        int lastYHalfway; // -1: anywhere between its place and the gap's end
    };
    // clang-format off
    const Case cases[] = {
        {.animated = true,  .lastYHalfway = -1},
        {.animated = false, .lastYHalfway = 50},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.animated);
        Theme::setAnimated(c.animated);
        ManualClock clock;
        RowsRig rig;
        FoldAway::start(*rig.rows[1], clock, Motion::removeMs, Motion::remove);
        clock.advance(Motion::removeMs / 4);
        settle();
        if (c.lastYHalfway < 0) {
            EXPECT_GT(rig.rows[2]->y(), 50);
            EXPECT_LT(rig.rows[2]->y(), 100);
            EXPECT_FALSE(rig.rows[1].isNull()) << "gone before the fold ended";
        } else {
            EXPECT_EQ(rig.rows[2]->y(), c.lastYHalfway);
        }
        clock.advance(Motion::removeMs);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
        EXPECT_TRUE(rig.rows[1].isNull());
        EXPECT_EQ(rig.rows[2]->y(), 50);
        Theme::setAnimated(false);
    }
}

TEST(KitMotion, ARevealOpensAndClosesOnTheClockAndAtOnceWithoutAnimations)
{
    struct Case {
        bool animated;
        bool open;
        bool between; // partly open a third of the way through
    };
    // clang-format off
    const Case cases[] = {
        {.animated = true,  .open = true,  .between = true},
        {.animated = true,  .open = false, .between = true},
        {.animated = false, .open = true,  .between = false},
        {.animated = false, .open = false, .between = false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.animated << c.open);
        ManualClock clock;
        RowsRig rig;
        auto* child = new QLabel(QStringLiteral("panel"));
        child->setFixedHeight(60);
        auto* reveal = new Reveal(clock, child);
        static_cast<QBoxLayout*>(rig.window.layout())->insertWidget(1, reveal);
        if (!c.open)
            reveal->setOpen(true, 0, Motion::expand);
        settle();
        Theme::setAnimated(c.animated);
        reveal->setOpen(c.open, Motion::expandMs, Motion::expand);
        clock.advance(Motion::expandMs / 3);
        settle();
        EXPECT_EQ(reveal->openness() > 0.05 && reveal->openness() < 0.95, c.between) << reveal->openness();
        clock.advance(Motion::expandMs);
        settle();
        EXPECT_EQ(reveal->isVisible(), c.open);
        EXPECT_EQ(rig.rows[1]->y(), c.open ? 50 + 60 + 10 : 50);
        Theme::setAnimated(false);
    }
}

} // namespace
