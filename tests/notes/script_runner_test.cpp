#include "manual_clock.h"
#include "qprocess_script_runner.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Completions {
    int calls = 0;
    ScriptResult last;

    ScriptRunner::Completion callback()
    {
        return [this](const ScriptResult& result) {
            ++calls;
            last = result;
        };
    }
};

class QProcessScriptRunnerTest : public ::testing::Test {
protected:
    static ScriptRequest shell(const char* command, QByteArray input = {})
    {
        return {QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QString::fromUtf8(command)},
                std::move(input),
                1000};
    }

    static bool completes(const Completions& c)
    {
        return QTest::qWaitFor([&] { return c.calls > 0; }, 20'000);
    }

    bool childrenGone()
    {
        return QTest::qWaitFor([&] { return m_runner.findChildren<QProcess*>().isEmpty(); }, 10'000);
    }

    ManualClock m_clock;
    QProcessScriptRunner m_runner{m_clock};
    QObject m_context;
};

} // namespace

TEST_F(QProcessScriptRunnerTest, LargeInputComesBackWithErrorAndExitCode)
{
    const QByteArray input(4 << 20, 'x');
    Completions c;
    m_runner.run(shell("cat; echo oops >&2; exit 3", input), &m_context, c.callback());
    ASSERT_TRUE(completes(c));
    EXPECT_EQ(c.last.status, ScriptResult::Status::Exited);
    EXPECT_EQ(c.last.exitCode, 3);
    EXPECT_EQ(c.last.output, input);
    EXPECT_EQ(c.last.error, QByteArray("oops\n"));
}

// A program that exits without reading its input must not take the caller down with SIGPIPE.
TEST_F(QProcessScriptRunnerTest, ProgramIgnoringItsInputStillCompletes)
{
    Completions c;
    m_runner.run(shell("exit 0", QByteArray(1 << 20, 'x')), &m_context, c.callback());
    ASSERT_TRUE(completes(c));
    EXPECT_TRUE(c.last.succeeded());
}

TEST_F(QProcessScriptRunnerTest, KilledProgramIsACrash)
{
    Completions c;
    m_runner.run(shell("kill -KILL $$"), &m_context, c.callback());
    ASSERT_TRUE(completes(c));
    EXPECT_EQ(c.last.status, ScriptResult::Status::Crashed);
}

TEST_F(QProcessScriptRunnerTest, ExitBeforeTheLimitCompletesOnce)
{
    Completions c;
    m_runner.run(shell("echo done"), &m_context, c.callback());
    ASSERT_TRUE(completes(c));
    EXPECT_EQ(m_clock.pendingCount(), 0) << "the time limit is cancelled by the exit";
    m_clock.advance(5000);
    QCoreApplication::processEvents();
    EXPECT_EQ(c.calls, 1);
    EXPECT_TRUE(c.last.succeeded());
}

// The limit falls due before the already-finished child's exit is seen: one completion only.
TEST_F(QProcessScriptRunnerTest, LimitRacingTheExitCompletesOnce)
{
    Completions c;
    m_runner.run(shell("exit 0"), &m_context, c.callback());
    m_clock.advance(1000);
    ASSERT_TRUE(completes(c));
    EXPECT_EQ(c.last.status, ScriptResult::Status::TimedOut);
    ASSERT_TRUE(childrenGone());
    QCoreApplication::processEvents();
    EXPECT_EQ(c.calls, 1);
}

TEST_F(QProcessScriptRunnerTest, GoneContextIsNeverCalled)
{
    Completions c;
    auto context = std::make_unique<QObject>();
    m_runner.run(shell("cat", "x"), context.get(), c.callback());
    context.reset();
    ASSERT_TRUE(childrenGone());
    QCoreApplication::processEvents();
    EXPECT_EQ(c.calls, 0);
}
