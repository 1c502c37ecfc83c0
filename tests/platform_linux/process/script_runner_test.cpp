#include "platform/fake/manual_clock.h"
#include "platform/linux/process/qprocess_script_runner.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Status = ScriptResult::Status;

struct Completions {
    int calls = 0;
    ScriptResult last;
};

ScriptRequest shell(const char* command, QByteArray input = {})
{
    return {QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QString::fromUtf8(command)},
            std::move(input),
            1000};
}

class QProcessScriptRunnerTest : public ::testing::Test {
protected:
    void run(Completions& c, const ScriptRequest& request, QObject* context = nullptr)
    {
        m_runner.run(request, context ? context : &m_context, [&c](const ScriptResult& result) {
            ++c.calls;
            c.last = result;
        });
    }

    // Waits until every child is gone, then delivers what is still queued.
    void settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_runner.findChildren<QProcess*>().isEmpty(); }, 10'000));
        QCoreApplication::processEvents();
    }

    ManualClock m_clock;
    QProcessScriptRunner m_runner{m_clock};
    QObject m_context;
};

// Large input must not deadlock the pipes, and a program that exits without reading its input
// must not take the caller down with SIGPIPE. Every run completes once, later, never inside run().
TEST_F(QProcessScriptRunnerTest, EndedProgramCompletesOnceWithItsOutcome)
{
    const QByteArray big(4 << 20, 'x');
    const std::vector<std::pair<ScriptRequest, ScriptResult>> cases{
        {shell("cat; echo oops >&2; exit 3", big), {Status::Exited, 3, big, "oops\n", {}}},
        {shell("exit 0", big), {}},
        {shell("kill -KILL $$"), {Status::Crashed, 0, {}, {}, {}}},
        {{QStringLiteral("/nonexistent/interpreter"), {}, big}, {Status::FailedToStart, 0, {}, {}, {}}},
    };
    for (const auto& [request, expected] : cases) {
        SCOPED_TRACE(qPrintable(request.program + u' ' + request.arguments.join(u' ')));
        Completions c;
        run(c, request);
        EXPECT_EQ(c.calls, 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return c.calls > 0; }, 20'000));
        EXPECT_EQ(c.last.status, expected.status);
        EXPECT_TRUE(expected.status != Status::Exited || c.last.exitCode == expected.exitCode);
        EXPECT_EQ(c.last.output, expected.output);
        EXPECT_EQ(c.last.error, expected.error);
        EXPECT_EQ(m_clock.pendingCount(), 0) << "the time limit ends with the run";
        m_clock.advance(5000);
        settle();
        EXPECT_EQ(c.calls, 1);
    }
}

TEST_F(QProcessScriptRunnerTest, GoneContextIsNeverCalled)
{
    Completions c;
    auto context = std::make_unique<QObject>();
    run(c, shell("cat", "x"), context.get());
    context.reset();
    settle();
    EXPECT_EQ(c.calls, 0);
}

} // namespace
