#include "core/apple_notes_failure.h"
#include "core/apple_notes_scripts.h"

#include <gtest/gtest.h>

namespace {

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

AppleNotesFolder folder(const char* account, const char* name)
{
    return {s(account), s(name)};
}

struct ListingCase {
    const char* name;
    QString output;
    QList<AppleNotesFolder> folders;
};

void PrintTo(const ListingCase& c, std::ostream* os)
{
    *os << c.name;
}

class FolderListing : public ::testing::TestWithParam<ListingCase> {};

struct DeniedCase {
    const char* name;
    AppleNotesFailure failure;
    bool denied;
};

void PrintTo(const DeniedCase& c, std::ostream* os)
{
    *os << c.name;
}

class RefusalText : public ::testing::TestWithParam<DeniedCase> {};

} // namespace

TEST(AppleNotesScriptsTest, QuotingEscapesBackslashBeforeQuote)
{
    EXPECT_EQ(AppleNotesScripts::quoted(s("a\"b\\c")), s("\"a\\\"b\\\\c\""));
    // A trailing backslash must not escape the closing quote.
    EXPECT_EQ(AppleNotesScripts::quoted(s("end\\")), s("\"end\\\\\""));
}

TEST(AppleNotesScriptsTest, HtmlBodyEscapesMarkupAndBreaksLines)
{
    EXPECT_EQ(AppleNotesScripts::htmlBody(s("a<b")), s("<div>a&lt;b</div>"));
    EXPECT_EQ(AppleNotesScripts::htmlBody(s("&lt; >")), s("<div>&amp;lt; &gt;</div>"));
    EXPECT_EQ(AppleNotesScripts::htmlBody(s("one\r\ntwo\nthree\rfour")),
              s("<div>one<br>two<br>three\rfour</div>"));
}

TEST_P(FolderListing, ParsesLikeNotesAnswers)
{
    EXPECT_EQ(AppleNotesScripts::parseFolders(GetParam().output), GetParam().folders);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, FolderListing,
    ::testing::Values(
        ListingCase{
            "MalformedLinesAreSkipped", s("no tab\n\tNotes\niCloud\t \n\n  A \t B \n"), {folder("A", "B")}},
        ListingCase{"OnlyTheFirstTabSplits", s("A\tB\tC"), {folder("A", "B\tC")}},
        ListingCase{"TrashFoldersAreHidden",
                    s("iCloud\tRecently Deleted\niCloud\tZULETZT GELÖSCHT\niCloud\tzuletzt gelo\xCC\x88scht\n"
                      "iCloud\tRécently deleted\niCloud\tKept"),
                    {folder("iCloud", "Kept")}},
        ListingCase{"SameNameInTwoAccountsIsListedTwice",
                    s("B\tNotes\nA\tNotes"),
                    {folder("A", "Notes"), folder("B", "Notes")}},
        ListingCase{"RepeatsAreListedOnce", s("A\tNotes\r\nA\tNotes\nA\t Notes "), {folder("A", "Notes")}},
        ListingCase{"AccountsGroupTogether",
                    s("B\tx\nA\tz\nB\ta\nA\ty"),
                    {folder("A", "y"), folder("A", "z"), folder("B", "a"), folder("B", "x")}},
        ListingCase{"NumbersSortByValue",
                    s("A\tFolder 10\nA\tFolder 9\nA\tfolder 2"),
                    {folder("A", "folder 2"), folder("A", "Folder 9"), folder("A", "Folder 10")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(RefusalText, IsRecognised)
{
    EXPECT_EQ(GetParam().failure.denied(), GetParam().denied);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, RefusalText,
    ::testing::Values(DeniedCase{"ErrorNumber", {s("execution error: (-1743)"), false}, true},
                      DeniedCase{"MixedCase", {s("Not AUTHORIZED to send Apple events"), false}, true},
                      DeniedCase{"German", {s("Nicht berechtigt, Apple-Events zu senden"), false}, true},
                      DeniedCase{"Timeout", AppleNotesFailure::timeout(), false},
                      DeniedCase{"OtherError", {s("Can’t get folder \"x\". (-1728)"), false}, false},
                      // A launch error is not the script's refusal, whatever its text says.
                      DeniedCase{"LaunchFailure", {s("not authorized"), true}, false}),
    [](const auto& info) { return std::string(info.param.name); });
