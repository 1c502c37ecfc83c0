#pragma once

#include "pasteboard_samples.h"
#include "test_text.h"

#include "platform/pasteboard.h"

#include <QList>

#include <gtest/gtest.h>

#include <optional>

// Another program's copy as every clipboard backend must read it: its plain text, and whether it is
// a password manager's.
struct PasteboardTextCase {
    const char* what;
    QList<PasteboardItem> offered;
    std::optional<QString> text;
    bool secret = false;

    static QList<PasteboardTextCase> all()
    {
        using PasteboardSamples::item;
        // clang-format off
        return {
            {.what = "plain text comes untrimmed", .offered = {item("text/plain", "  spaced  ")}, .text = s("  spaced  ")},
            {.what = "blank plain text gives way to the HTML", .offered = {item("text/plain", " \n"), item("text/html", "<p>Hello <b>world</b></p>")}, .text = s("Hello world")},
            {.what = "HTML alone", .offered = {item("text/html", "<p>Tom &amp; Jerry</p>")}, .text = s("Tom & Jerry")},
            {.what = "RTF is not read", .offered = {item("text/rtf", "{\\rtf1\\ansi Hello}")}, .text = std::nullopt},
            {.what = "a password manager's copy", .offered = {item("text/plain", "hunter2"), item("x-kde-passwordManagerHint", "secret")}, .text = s("hunter2"), .secret = true},
        };
        // clang-format on
    }

    // Once the copy has reached the board.
    void expectReadBy(const Pasteboard& board) const
    {
        EXPECT_EQ(board.plainText(), text);
        const PasteboardSnapshot snapshot = board.snapshot();
        EXPECT_EQ(snapshot.isSecret(), secret);
        EXPECT_EQ(snapshot.displacedText(), secret ? std::nullopt : text)
            << "a password would be written to the history file";
    }
};
