#include "core/apple_notes.h"
#include "core/apple_notes_scripts.h"
#include "fake_script_runner.h"
#include "manual_clock.h"
#include "qprocess_script_runner.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Records every completion of one call.
template <typename T> struct Capture {
    int calls = 0;
    std::optional<AppleNotesResult<T>> result;

    AppleNotes::Done<T> callback()
    {
        return [this](const AppleNotesResult<T>& r) {
            ++calls;
            result = r;
        };
    }
};

// The bridge against scripted runner replies.
class AppleNotesReplies : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QSettings m_settings{m_dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    FakeScriptRunner m_runner;
    QObject m_context;
    AppleNotes m_notes{m_runner, m_settings, QStringLiteral("/opt/notes-interpreter")};
};

struct ReplyCase {
    const char* name;
    ScriptResult reply;
    std::optional<QString> id; // the delivered id, or none for a failure
    QString failure;
};

void PrintTo(const ReplyCase& c, std::ostream* os)
{
    *os << c.name;
}

class CreateReplies : public AppleNotesReplies, public ::testing::WithParamInterface<ReplyCase> {};

} // namespace

TEST_P(CreateReplies, BecomeIdOrFailure)
{
    Capture<QString> capture;
    m_notes.createNote(s("t"), s("b"), s("iCloud"), s("Notes"), &m_context, capture.callback());
    const ScriptRequest request = m_runner.requests().value(0);
    EXPECT_EQ(request.program, s("/opt/notes-interpreter"));
    EXPECT_EQ(request.arguments, QStringList{s("-")});
    EXPECT_EQ(request.timeoutMs, 90'000);
    ASSERT_TRUE(m_runner.finishNext(GetParam().reply));
    ASSERT_EQ(capture.calls, 1);
    if (GetParam().id) {
        ASSERT_TRUE(capture.result->ok());
        EXPECT_EQ(capture.result->value(), *GetParam().id);
    } else {
        ASSERT_FALSE(capture.result->ok());
        EXPECT_EQ(capture.result->failure().output, GetParam().failure);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Results, CreateReplies,
    ::testing::Values(
        ReplyCase{"IdIsTrimmed", FakeScriptRunner::exited(0, " id-1 \n"), s("id-1"), {}},
        ReplyCase{"StderrOfASuccessIsIgnored", FakeScriptRunner::exited(0, "", "warning"), s(""), {}},
        ReplyCase{"InvalidUtf8CountsAsNoText", FakeScriptRunner::exited(0, "\xff\xfeid"), s(""), {}},
        ReplyCase{"ErrorTextIsKeptUntrimmed",
                  FakeScriptRunner::exited(1, "out", " denied \n"),
                  {},
                  s(" denied \n")},
        ReplyCase{"StdoutWhenStderrIsEmpty", FakeScriptRunner::exited(1, "out\n", ""), {}, s("out\n")},
        ReplyCase{
            "CrashIsAFailure", ScriptResult{ScriptResult::Status::Crashed, 0, {}, "boom", {}}, {}, s("boom")},
        ReplyCase{"TimedOut", FakeScriptRunner::timedOut(), {}, s("timeout")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AppleNotesReplies, BlankTitleIsSentAsNotiz)
{
    m_notes.createNote(s(" \n "), s("b"), s("iCloud"), s("Notes"), &m_context, {});
    EXPECT_TRUE(QString::fromUtf8(m_runner.requests().value(0).input).contains(s("{name:\"Notiz\", body:")));
}

TEST_F(AppleNotesReplies, RememberKeepsTheOldIdForABlankOne)
{
    m_notes.remember(s("  note-1 \n"));
    m_notes.remember(s("  "));
    EXPECT_EQ(m_notes.rememberedID(), s("note-1"));
    m_settings.setValue(AppleNotes::rememberedKey(), s(" \t "));
    EXPECT_FALSE(m_notes.rememberedID());
}

namespace {

// The bridge against a child process that answers like Notes (fake_notes.py).
class NotesInterpreter : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (m_python.isEmpty())
            GTEST_SKIP() << "python3 is needed for the fake interpreter";
    }

    AppleNotes bridge(const char* mode)
    {
        const QString path = m_dir.filePath(QStringLiteral("interpreter-") + s(mode));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nexec '" + m_python.toUtf8() + "' '" QUENDA_FAKE_NOTES "' " + mode + " '" +
                   m_dir.path().toUtf8() + "' \"$@\"\n");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return AppleNotes(m_runner, m_settings, path);
    }

    QJsonObject recorded(const char* name)
    {
        QFile file(m_dir.filePath(s(name)));
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                              : QJsonObject();
    }

    template <typename T> bool completes(const Capture<T>& capture)
    {
        return QTest::qWaitFor([&] { return capture.calls > 0; }, 10'000);
    }

    QTemporaryDir m_dir;
    QSettings m_settings{m_dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    ManualClock m_clock;
    QProcessScriptRunner m_runner{m_clock};
    QObject m_context;
    QString m_python;
};

} // namespace

// Whatever the user dictates reaches Notes as text; none of it may become script.
TEST_F(NotesInterpreter, DictatedTextCannotBreakOutOfTheScript)
{
    const QString title = s("  \"quoted\" \\ back\\\"slash & <b> \" & (do shell script \"id\") & \"  ");
    const QString body = s("line \"1\"\\\n<script>&amp;</script>\r\nend \\n not a break\\");
    const QString account = s("Acc \"A\"\\");
    const QString folder = s("F\\\"older");
    const AppleNotes notes = bridge("notes");
    Capture<QString> created;
    notes.createNote(title, body, account, folder, &m_context, created.callback());
    ASSERT_TRUE(completes(created));
    ASSERT_TRUE(created.result->ok()) << created.result->failure().output.toStdString();
    EXPECT_EQ(created.result->value(), s("x-coredata://note/p42"));
    const QJsonObject note = recorded("created.json");
    EXPECT_EQ(note.value(QStringLiteral("name")).toString(), title.trimmed());
    EXPECT_EQ(note.value(QStringLiteral("body")).toString(), AppleNotesScripts::htmlBody(body));
    EXPECT_EQ(note.value(QStringLiteral("account")).toString(), account);
    EXPECT_EQ(note.value(QStringLiteral("folder")).toString(), folder);

    Capture<std::monostate> revealed;
    notes.reveal(account, folder, s(" id \"7\"\\ \n"), &m_context, revealed.callback());
    ASSERT_TRUE(completes(revealed));
    ASSERT_TRUE(revealed.result->ok()) << revealed.result->failure().output.toStdString();
    EXPECT_EQ(recorded("revealed.json").value(QStringLiteral("id")).toString(), s("id \"7\"\\"));
}

TEST_F(NotesInterpreter, RefusalIsReportedAsDenied)
{
    const AppleNotes notes = bridge("deny");
    Capture<QList<AppleNotesFolder>> capture;
    notes.folders(&m_context, capture.callback());
    ASSERT_TRUE(completes(capture));
    ASSERT_FALSE(capture.result->ok());
    EXPECT_TRUE(capture.result->failure().denied());
    EXPECT_TRUE(capture.result->failure().output.endsWith(s("(-1743)\n")));
}

TEST_F(NotesInterpreter, SlowScriptTimesOutOnceAndIsKilled)
{
    const AppleNotes notes = bridge("hang");
    Capture<QString> capture;
    notes.createNote(s("t"), s("b"), s("iCloud"), s("Notes"), &m_context, capture.callback());
    m_clock.advance(AppleNotes::defaultTimeoutMs - 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(capture.calls, 0);
    m_clock.advance(1);
    ASSERT_TRUE(completes(capture));
    EXPECT_EQ(capture.result->failure().output, s("timeout"));
    // The killed child's own end arrives later and must not complete the call again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_runner.findChildren<QProcess*>().isEmpty(); }, 10'000));
    QCoreApplication::processEvents();
    EXPECT_EQ(capture.calls, 1);
}

// On a desktop without the interpreter, callers take their failure path (saving falls back).
TEST_F(NotesInterpreter, MissingInterpreterIsALaunchFailure)
{
    const AppleNotes notes(m_runner, m_settings, m_dir.filePath(QStringLiteral("no-such-interpreter")));
    Capture<QString> capture;
    notes.createNote(s("t"), s("b"), s("iCloud"), s("Notes"), &m_context, capture.callback());
    EXPECT_EQ(capture.calls, 0) << "completes later, never inside the call";
    ASSERT_TRUE(completes(capture));
    ASSERT_FALSE(capture.result->ok());
    EXPECT_TRUE(capture.result->failure().launchFailed);
    EXPECT_FALSE(capture.result->failure().denied());
    EXPECT_EQ(m_clock.pendingCount(), 0) << "the time limit ends with the run";
}
