#include "core/notes/apple_notes.h"
#include "core/notes/apple_notes_failure.h"
#include "core/notes/apple_notes_scripts.h"
#include "platform/fake/fake_script_runner.h"
#include "platform/fake/manual_clock.h"
#include "platform/linux/process/qprocess_script_runner.h"
#include "test_text.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace Qt::Literals::StringLiterals;

TEST(AppleNotesScripts, BodyMarkupKeepsTheTextAsText)
{
    EXPECT_EQ(AppleNotesScripts::htmlBody(s("&lt; <b>")), s("<div>&amp;lt; &lt;b&gt;</div>"));
    EXPECT_EQ(AppleNotesScripts::htmlBody(s("one\r\ntwo\nthree\rfour")),
              s("<div>one<br>two<br>three\rfour</div>"));
}

TEST(AppleNotesScripts, FolderListingSkipsHiddenAndRepeatedFoldersAndSortsByValue)
{
    const std::vector<std::pair<const char*, const char*>> cases{
        {"no tab\n\tNotes\niCloud\t \n\n  A \t B \n", "A/B"},
        {"A\tB\tC", "A/B\tC"},
        {"iCloud\tRecently Deleted\niCloud\tZULETZT GELÖSCHT\niCloud\tzuletzt gelo\xCC\x88scht\n"
         "iCloud\tRécently deleted\niCloud\tKept",
         "iCloud/Kept"},
        {"B\tNotes\nA\tNotes\r\nA\tNotes\nA\t Notes ", "A/Notes B/Notes"},
        {"B\tx\nA\tz\nB\ta\nA\ty", "A/y A/z B/a B/x"},
        {"A\tFolder 10\nA\tFolder 9\nA\tfolder 2", "A/folder 2 A/Folder 9 A/Folder 10"},
    };
    for (const auto& [output, expected] : cases) {
        QStringList folders;
        for (const AppleNotesFolder& folder : AppleNotesScripts::parseFolders(s(output)))
            folders << folder.account + u'/' + folder.name;
        EXPECT_EQ(folders.join(u' '), s(expected)) << output;
    }
}

TEST(AppleNotesScripts, OnlyTheScriptsRefusalCountsAsDenied)
{
    const std::vector<std::pair<AppleNotesFailure, bool>> cases{
        {{s("execution error: (-1743)"), false}, true},
        {{s("Not AUTHORIZED to send Apple events"), false}, true},
        {{s("Nicht berechtigt, Apple-Events zu senden"), false}, true},
        {AppleNotesFailure::timeout(), false},
        {{s("Can’t get folder \"x\". (-1728)"), false}, false},
        // A launch error is not the script's refusal, whatever its text says.
        {{s("not authorized"), true}, false},
    };
    for (const auto& [failure, denied] : cases)
        EXPECT_EQ(failure.denied(), denied) << qPrintable(failure.output);
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
    bool completes() const
    {
        return QTest::qWaitFor([this] { return calls > 0; }, 10'000);
    }
};

class AppleNotesTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QSettings m_settings{m_dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    QObject m_context;
};

TEST_F(AppleNotesTest, RunnerRepliesBecomeAnIdOrAFailure)
{
    const std::vector<std::pair<ScriptResult, const char*>> cases{
        {FakeScriptRunner::exited(0, " id-1 \n"), "id id-1"},
        {FakeScriptRunner::exited(0, "", "warning"), "id "},
        {FakeScriptRunner::exited(0, "\xff\xfeid"), "id "}, // not UTF-8: no text
        {FakeScriptRunner::exited(1, "out", " denied \n"), "failure  denied \n"},
        {FakeScriptRunner::exited(1, "out\n", ""), "failure out\n"},
        {ScriptResult{ScriptResult::Status::Crashed, 0, {}, "boom", {}}, "failure boom"},
        {FakeScriptRunner::timedOut(), "failure timeout"},
        // On a desktop without the interpreter callers take their failure path (saving falls back).
        {FakeScriptRunner::failedToStart(s("not authorized")), "launch failure not authorized"},
    };
    for (const auto& [reply, expected] : cases) {
        FakeScriptRunner runner;
        const AppleNotes notes(runner, m_settings, QStringLiteral("/opt/notes-interpreter"));
        Capture<QString> capture;
        notes.createNote(s(" \n "), s("b"), s("iCloud"), s("Notes"), &m_context, capture.callback());
        const ScriptRequest request = runner.requests().value(0);
        EXPECT_EQ(request.program, s("/opt/notes-interpreter"));
        EXPECT_EQ(request.arguments, QStringList{s("-")});
        EXPECT_TRUE(QString::fromUtf8(request.input).contains(s("{name:\"Notiz\", body:"))) << "blank title";
        ASSERT_TRUE(runner.finishNext(reply));
        ASSERT_EQ(capture.calls, 1);
        const AppleNotesResult<QString>& r = *capture.result;
        const QString failure =
            r.ok() ? QString()
                   : (r.error().launchFailed ? u"launch "_s : QString()) + u"failure "_s + r.error().output;
        EXPECT_EQ(r.ok() ? u"id "_s + r.value() : failure, s(expected));
    }
}

TEST_F(AppleNotesTest, RememberKeepsTheOldIdForABlankOne)
{
    FakeScriptRunner runner;
    AppleNotes notes(runner, m_settings);
    notes.remember(s("  note-1 \n"));
    notes.remember(s("  "));
    EXPECT_EQ(notes.rememberedID(), s("note-1"));
    m_settings.setValue(AppleNotes::rememberedKey(), s(" \t "));
    EXPECT_FALSE(notes.rememberedID());
}

// The bridge against a child process that answers like Notes (fake_notes.py).
class NotesInterpreter : public AppleNotesTest {
protected:
    // The fake accepts only scripts shaped like the bridge's own, with "X" for each text.
    AppleNotes bridge(const char* mode)
    {
        const QString x = QStringLiteral("X");
        write("create.template", AppleNotesScripts::createNote(x, x, x, x).toUtf8());
        write("reveal.template", AppleNotesScripts::reveal(x, x, x).toUtf8());
        write("interpreter", "#!/bin/sh\nexec python3 '" QUENDA_FAKE_NOTES "' " + QByteArray(mode) + " '" +
                                 m_dir.path().toUtf8() + "' \"$@\"\n");
        QFile::setPermissions(m_dir.filePath(QStringLiteral("interpreter")),
                              QFile::ReadOwner | QFile::ExeOwner);
        return AppleNotes(m_runner, m_settings, m_dir.filePath(QStringLiteral("interpreter")));
    }

    void write(const char* name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(s(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The texts the fake found in the script's placeholders.
    QStringList recorded(const char* name)
    {
        QFile file(m_dir.filePath(s(name)));
        return file.open(QIODevice::ReadOnly)
                   ? QJsonDocument::fromJson(file.readAll()).toVariant().toStringList()
                   : QStringList();
    }

    ManualClock m_clock;
    QProcessScriptRunner m_runner{m_clock};
};

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
    ASSERT_TRUE(created.completes());
    ASSERT_TRUE(created.result->ok()) << qPrintable(created.result->error().output);
    EXPECT_EQ(created.result->value(), s("x-coredata://note/p42"));
    EXPECT_EQ(recorded("create.json"),
              (QStringList{account, folder, title.trimmed(), AppleNotesScripts::htmlBody(body)}));

    Capture<std::monostate> revealed;
    notes.reveal(account, folder, s(" id \"7\"\\ \n"), &m_context, revealed.callback());
    ASSERT_TRUE(revealed.completes());
    ASSERT_TRUE(revealed.result->ok()) << qPrintable(revealed.result->error().output);
    const QString id = s("id \"7\"\\");
    EXPECT_EQ(recorded("reveal.json"), (QStringList{id, id, account, folder}));
}

TEST_F(NotesInterpreter, SlowScriptTimesOutOnceAndIsKilled)
{
    Capture<QString> capture;
    bridge("hang").createNote(s("t"), s("b"), s("iCloud"), s("Notes"), &m_context, capture.callback());
    m_clock.advance(AppleNotes::defaultTimeoutMs - 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(capture.calls, 0);
    m_clock.advance(1);
    ASSERT_TRUE(capture.completes());
    EXPECT_EQ(capture.result->error().output, s("timeout"));
    // The killed child's own end arrives later and must not complete the call again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_runner.findChildren<QProcess*>().isEmpty(); }, 10'000));
    QCoreApplication::processEvents();
    EXPECT_EQ(capture.calls, 1);
}

} // namespace
