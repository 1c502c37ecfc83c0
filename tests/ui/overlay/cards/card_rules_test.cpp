#include "test_text.h"

#include "core/config/quenda_config.h"
#include "platform/fake/manual_clock.h"
#include "ui/overlay/cards/card_rules.h"
#include "ui/overlay/cards/dismiss_countdown.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

QStringList codes(const QList<TranslateLanguage>& languages)
{
    QStringList out;
    for (const TranslateLanguage& language : languages)
        out << language.id;
    return out;
}

TEST(CardRulesTest, TranslateTargetsPutTheNativeLanguageFirstAndMarkOnlyIt)
{
    struct Case {
        const char* native;
        QStringList order;
        QStringList marked;
    };
    const QStringList fixed = {s("en"), s("de"), s("fr"), s("es"), s("it"),
                               s("pt"), s("nl"), s("pl"), s("tr")};
    const Case cases[] = {
        // clang-format off
        {.native = "en", .order = fixed, .marked = {s("en")}},
        {.native = "de", .order = {s("de"), s("en"), s("fr"), s("es"), s("it"), s("pt"), s("nl"), s("pl"), s("tr")}, .marked = {s("de")}},
        {.native = "tr", .order = {s("tr"), s("en"), s("de"), s("fr"), s("es"), s("it"), s("pt"), s("nl"), s("pl")}, .marked = {s("tr")}},
        // clang-format on
        // A language outside the nine leaves them in the fixed order, none marked.
        {.native = "sv", .order = fixed, .marked = {}},
        {.native = "", .order = fixed, .marked = {}},
        // Codes match exactly.
        {.native = "DE", .order = fixed, .marked = {}},
    };
    for (const Case& c : cases) {
        const QString native = QString::fromLatin1(c.native);
        const QList<TranslateLanguage> targets = TranslateLanguage::menu(native);
        EXPECT_EQ(codes(targets), c.order) << c.native;
        QStringList marked;
        for (const CardRules::TranslateRow& row : CardRules::translateRows(targets, native)) {
            if (row.native)
                marked << row.code;
        }
        EXPECT_EQ(marked, c.marked) << c.native;
    }
}

TEST(CardRulesTest, DismissSecondsFollowTheSettingStatusAndSnapshotMode)
{
    using Status = DictationPreviewStatus;
    struct Case {
        const char* name;
        qint64 resultSetting;
        qint64 previewSetting;
        Status status;
        bool snapshot;
        int result;
        int preview;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "copied preview counts its own setting", .resultSetting = 15, .previewSetting = 3, .status = Status::Copied, .snapshot = false, .result = 15, .preview = 3},
        {.name = "working preview waits", .resultSetting = 15, .previewSetting = 3, .status = Status::Working, .snapshot = false, .result = 15, .preview = 0},
        {.name = "inserted preview gets no time", .resultSetting = 15, .previewSetting = 3, .status = Status::Inserted, .snapshot = false, .result = 15, .preview = 0},
        {.name = "negative settings count as none", .resultSetting = -4, .previewSetting = -1, .status = Status::Copied, .snapshot = false, .result = 0, .preview = 0},
        {.name = "snapshot mode keeps every card", .resultSetting = 15, .previewSetting = 3, .status = Status::Copied, .snapshot = true, .result = 0, .preview = 0},
        {.name = "a huge setting does not wrap negative", .resultSetting = qint64(1) << 40, .previewSetting = qint64(1) << 40, .status = Status::Copied, .snapshot = false, .result = std::numeric_limits<int>::max(), .preview = std::numeric_limits<int>::max()},
        // clang-format on
    };
    for (const Case& c : cases) {
        QuendaConfig config = QuendaConfig::standard();
        config.overlayResultDismissSeconds = c.resultSetting;
        config.dictationPreviewDismissSeconds = c.previewSetting;
        EXPECT_EQ(CardRules::resultDismissSeconds(config, c.snapshot), c.result) << c.name;
        EXPECT_EQ(CardRules::previewDismissSeconds(config, c.status, c.snapshot), c.preview) << c.name;
    }
}

TEST(CardRulesTest, TheNotedMarkNeedsWordsAndALastingSave)
{
    struct Case {
        const char* text;
        NoteSaveOutcome outcome;
        bool marked;
    };
    const Case cases[] = {
        {.text = "Buy milk", .outcome = NoteSaveOutcome::quenda(), .marked = true},
        {.text = "Buy milk", .outcome = NoteSaveOutcome::apple(s("Notes")), .marked = true},
        {.text = "Buy milk", .outcome = NoteSaveOutcome::fallback(), .marked = true},
        {.text = "Buy milk", .outcome = NoteSaveOutcome::unsaved(), .marked = false},
        // A blank text is answered as if saved, though nothing was.
        {.text = " \n\t ", .outcome = NoteSaveOutcome::quenda(), .marked = false},
        {.text = "", .outcome = NoteSaveOutcome::quenda(), .marked = false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CardRules::showsNotedMark(QString::fromUtf8(c.text), c.outcome), c.marked) << c.text;
}

class CountdownTest : public ::testing::Test {
protected:
    ManualClock m_clock;
    DismissCountdown m_countdown{m_clock};
    QSignalSpy m_finished{&m_countdown, &DismissCountdown::finished};
};

TEST_F(CountdownTest, ClosesOnTheTickWhereTheSummedStepsReachTheSeconds)
{
    struct Case {
        int seconds;
        int ticks;
    };
    // 0.05 summed in binary falls just short of 3 and of 5, so those take one tick more.
    const Case cases[] = {{.seconds = 1, .ticks = 20},
                          {.seconds = 2, .ticks = 40},
                          {.seconds = 3, .ticks = 61},
                          {.seconds = 5, .ticks = 101}};
    for (const Case& c : cases) {
        m_finished.clear();
        m_countdown.start(c.seconds);
        EXPECT_TRUE(m_countdown.timed());
        EXPECT_DOUBLE_EQ(m_countdown.remaining(), 1.0);
        m_clock.advance(qint64(c.ticks - 1) * DismissCountdown::tickMs);
        EXPECT_EQ(m_finished.count(), 0) << c.seconds;
        EXPECT_GT(m_countdown.remaining(), 0.0) << c.seconds;
        m_clock.advance(DismissCountdown::tickMs);
        EXPECT_EQ(m_finished.count(), 1) << c.seconds;
        EXPECT_DOUBLE_EQ(m_countdown.remaining(), 0.0);
        m_clock.advance(10'000);
        EXPECT_EQ(m_finished.count(), 1) << "finished twice for " << c.seconds;
        EXPECT_EQ(m_clock.pendingCount(), 0);
    }
}

TEST_F(CountdownTest, PausesRestartsAndCancelsWithoutEverFinishingEarly)
{
    struct Case {
        const char* name;
        std::function<void(DismissCountdown&, ManualClock&)> during; // run after 500 ms of a 1 s countdown
        qint64 stillOpenUntil;                                       // ms from the start
    };
    const Case cases[] = {
        // clang-format off
        {.name = "hover for 700 ms", .during = [](DismissCountdown& d, ManualClock& clock) {d.setPaused(true); const double left = d.remaining(); clock.advance(700); EXPECT_DOUBLE_EQ(d.remaining(), left) << "the bar moved while hovered"; d.setPaused(false); }, .stillOpenUntil = 1700 - 50},
        {.name = "a new text", .during = [](DismissCountdown& d, ManualClock&) { d.start(1); }, .stillOpenUntil = 1500 - 50},
        {.name = "cancelled", .during = [](DismissCountdown& d, ManualClock&) { d.cancel(); }, .stillOpenUntil = 60'000},
        // clang-format on
    };
    for (const Case& c : cases) {
        m_finished.clear();
        const qint64 start = m_clock.elapsedMs();
        m_countdown.start(1);
        m_clock.advance(500);
        c.during(m_countdown, m_clock);
        m_clock.advance(start + c.stillOpenUntil - m_clock.elapsedMs());
        EXPECT_EQ(m_finished.count(), 0) << c.name;
        m_clock.advance(50);
        EXPECT_EQ(m_finished.count(), c.stillOpenUntil < 60'000 ? 1 : 0) << c.name;
    }
}

TEST_F(CountdownTest, BelowOneSecondNothingCounts)
{
    for (const int seconds : {0, -3}) {
        m_countdown.start(seconds);
        EXPECT_FALSE(m_countdown.timed());
        EXPECT_EQ(m_clock.pendingCount(), 0);
        m_clock.advance(60'000);
        EXPECT_EQ(m_finished.count(), 0);
    }
}

} // namespace
