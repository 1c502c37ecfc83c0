#include "dictation/learn/dictionary_learner.h"
#include "platform/fake/fake_accessibility.h"
#include "platform/fake/manual_clock.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

// One scripted moment: the user's field changes, or the controller stops or starts a watch.
struct Step {
    enum class Act { Edit, Stop, Watch };
    qint64 atMs = 0;
    Act act = Act::Edit;
    QString text = {}; // the field's whole text after an edit, or the text of a new watch
};

Step edit(qint64 ms, QString text)
{
    return {.atMs = ms, .act = Step::Act::Edit, .text = std::move(text)};
}

struct Case {
    const char* name;
    QString before = {};   // the field's text before the caret, the insert excluded
    QString inserted = {}; // pasted at the caret
    QString after = {};    // the field's text after the caret
    std::vector<Step> steps = {};
    qint64 runMs = 45'000;
    // Each delivery as "heard -> term; ... @<ms>".
    std::vector<std::string> learned = {};
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

// Two texts in turn every 900 ms until the deadline: each is read twice at most before it changes.
std::vector<Step> alternatingEdits(const QString& a, const QString& b)
{
    std::vector<Step> steps;
    for (qint64 ms = 2000; ms < DictionaryLearner::watchMs; ms += 900)
        steps.push_back(edit(ms, steps.size() % 2 == 0 ? a : b));
    return steps;
}

class DictionaryLearnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QObject::connect(&m_learner, &DictionaryLearner::learned, &m_learner,
                         [this](const QList<DictionaryItem>& items) {
                             QStringList parts;
                             for (const DictionaryItem& item : items)
                                 parts.append(item.heardAs + QStringLiteral(" -> ") + item.term);
                             m_learned.push_back(parts.join(QStringLiteral("; ")).toStdString() + " @" +
                                                 std::to_string(m_clock.elapsedMs()));
                         });
    }

    AccessibleElement addField(const QString& text, int caret)
    {
        const AccessibleElement field = m_accessibility.add(FakeAccessibility::field(text, {caret, 0}));
        m_accessibility.setFocused(field);
        return field;
    }

    // Lets replies of the service reach the learner, as the event loop would between ticks.
    void drain() { QCoreApplication::processEvents(); }

    void runUntil(qint64 ms)
    {
        while (m_clock.elapsedMs() < ms) {
            m_clock.advance(std::min<qint64>(50, ms - m_clock.elapsedMs()));
            drain();
        }
    }

    ManualClock m_clock;
    FakeAccessibility m_accessibility;
    DictionaryLearner m_learner{m_accessibility, m_clock};
    std::vector<std::string> m_learned;
};

class LearnerScript : public DictionaryLearnerTest, public ::testing::WithParamInterface<Case> {};

TEST_P(LearnerScript, LearnsOnceTheEditHasSettled)
{
    const Case& c = GetParam();
    const QString text = c.before + c.inserted + c.after;
    const AccessibleElement field = addField(text, static_cast<int>(c.before.size() + c.inserted.size()));
    m_learner.watch(c.inserted);
    for (const Step& step : c.steps) {
        runUntil(step.atMs);
        switch (step.act) {
        case Step::Act::Edit:
            m_accessibility.edit(field, [&step](FakeAccessibility::Element& e) { e.text = step.text; });
            break;
        case Step::Act::Stop:
            m_learner.stop();
            break;
        case Step::Act::Watch:
            m_learner.watch(step.text);
            break;
        }
    }
    runUntil(c.runMs);
    EXPECT_EQ(m_learned, c.learned);
    EXPECT_FALSE(m_learner.isWatching()) << "a watch ends at the latest after 40 s";
}

// Ticks fall on multiples of 450 ms; the first one locates the insert, the next ones read it.
INSTANTIATE_TEST_SUITE_P(
    Cases, LearnerScript,
    ::testing::Values(
        // Seen first at 2250, the same at 3600, 1350 ms later.
        // clang-format off
        Case{.name = "CorrectionLearnedOnceSettled", .before = QStringLiteral("Notiz: "), .inserted = QStringLiteral("Ich benutze kwenda jeden Tag"), .steps = {edit(2000, QStringLiteral("Notiz: Ich benutze Quenda jeden Tag"))}, .learned = {"kwenda -> Quenda @3600"}},
        // Read unclamped, the short tail would look like an edit at once and end the watch unlearned.
        Case{.name = "ShortTextAfterTheInsert", .inserted = QStringLiteral("Ich benutze kwenda."), .after = QStringLiteral(" Ende."), .steps = {edit(5000, QStringLiteral("Ich benutze Quenda. Ende."))}, .learned = {"kwenda -> Quenda @6750"}},
        // Pasted with a trailing space, the text at the caret is not the trimmed text.
        Case{.name = "InsertWithTrailingSpace", .inserted = QStringLiteral("Ich benutze kwenda "), .steps = {edit(2000, QStringLiteral("Ich benutze Quenda "))}, .learned = {"kwenda -> Quenda @3600"}},
        Case{.name = "EditThatKeepsChangingNeverSettles", .inserted = QStringLiteral("Ich benutze kwenda"), .steps = alternatingEdits(QStringLiteral("Ich benutze Quenda"), QStringLiteral("Ich benutze Quenda!")), .learned = {}},
        // Same text at 2250 and 3150 (900 ms): not yet; the edit at 3400 starts over.
        Case{.name = "SettlingNeeds1200Ms", .inserted = QStringLiteral("Ich benutze kwenda"), .steps = {edit(2000, QStringLiteral("Ich benutze Quend")), edit(3400, QStringLiteral("Ich benutze Quenda"))}, .learned = {"kwenda -> Quenda @4950"}},
        Case{.name = "EditTooLateForTheDeadline", .inserted = QStringLiteral("Ich benutze kwenda"), .steps = {edit(39'000, QStringLiteral("Ich benutze Quenda"))}, .learned = {}},
        Case{.name = "RewriteLearnsNothingAndEndsTheWatch", .inserted = QStringLiteral("Ich benutze kwenda"), .steps = {edit(2000, QStringLiteral("Etwas ganz anderes steht jetzt hier")), edit(8000, QStringLiteral("Ich benutze Quenda"))}, .learned = {}},
        Case{.name = "StoppedWatchLearnsNothing", .inserted = QStringLiteral("Ich benutze kwenda"), .steps = {edit(2000, QStringLiteral("Ich benutze Quenda")), {.atMs = 3000, .act = Step::Act::Stop}}, .learned = {}},
        // clang-format on
        // The new watch does not find its text at the caret; the old one's edit must not be learned.
        Case{.name = "NewWatchDropsTheOldOne",
             .inserted = QStringLiteral("Ich benutze kwenda"),
             .steps = {{.atMs = 1000, .act = Step::Act::Watch, .text = QStringLiteral("Anderer Text")},
                       edit(2000, QStringLiteral("Ich benutze Quenda"))},
             .learned = {}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST_F(DictionaryLearnerTest, BlankInsertWatchesNothing)
{
    m_learner.watch(QStringLiteral(" \n\t"));
    EXPECT_FALSE(m_learner.isWatching());
}

// The first watch's anchor comes back after a second watch began; taken, the second watch would
// read the first one's field.
TEST_F(DictionaryLearnerTest, StaleReplyIsNotTakenByTheNextWatch)
{
    const AccessibleElement first = addField(QStringLiteral("Ich benutze kwenda"), 18);
    m_learner.watch(QStringLiteral("Ich benutze kwenda"));
    m_clock.advance(DictionaryLearner::tickMs);
    // Located; the reply still waits in the event loop.
    addField(QStringLiteral("Hallo Welt"), 0);
    m_learner.watch(QStringLiteral("Hallo Welt"));
    const int callsBefore = m_accessibility.callCount(first);
    runUntil(45'000);
    EXPECT_EQ(m_accessibility.callCount(first), callsBefore);
    EXPECT_TRUE(m_learned.empty());
}

TEST(DictionaryLearnerStall, TicksWaitForTheReadUnderWayInsteadOfPilingUp)
{
    ManualClock clock;
    FakeAccessibility accessibility;
    accessibility.holdJobs();
    DictionaryLearner learner(accessibility, clock);
    learner.watch(QStringLiteral("Ich benutze kwenda"));
    clock.advance(10 * DictionaryLearner::tickMs);
    QCoreApplication::processEvents();
    EXPECT_EQ(accessibility.heldJobs(), 1);
    accessibility.runHeldJobs();
}

} // namespace
