#pragma once

#include "dictation/controller/inserter.h"

class Pasteboard;

// The inserter until the paste inserter takes this slot in the composition root: every text is
// left on the clipboard for the user to paste, and nothing is read from other applications.
class ClipboardInserter final : public Inserter {
public:
    explicit ClipboardInserter(Pasteboard& pasteboard)
        : m_pasteboard(pasteboard)
    {
    }

    void rememberInsertTarget() override {}
    void insert(const QString& text, QObject* context, Done<Landing> done) override;
    void replacePreviousInsert(const QString& inserted, const QString& replacement, QObject* context,
                               Done<WriteResult> done) override;
    void copyToClipboard(const QString& text) override;
    void captureSelection(QObject* context, Done<std::optional<QString>> done) override;
    void replaceRememberedSelection(const QString& text, QObject* context, Done<WriteResult> done) override;
    void insertAtRememberedCursor(const QString& text, const std::optional<QString>& fallbackAppID,
                                  QObject* context, Done<Landing> done) override;
    void focusTakesText(QObject* context, Done<bool> done) override;

private:
    Pasteboard& m_pasteboard;
};
