#pragma once

#include "dictation/controller/inserter.h"

#include <QObject>

class Pasteboard;

// The inserter until the paste inserter takes this slot in the composition root: every text is
// left on the clipboard for the user to paste, and nothing is read from other applications.
class ClipboardInserter final : public QObject, public Inserter {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClipboardInserter)

public:
    explicit ClipboardInserter(Pasteboard& pasteboard, QObject* parent = nullptr)
        : QObject(parent)
        , m_pasteboard(pasteboard)
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

signals:
    // The user's own clipboard text an insertion replaced; a password manager's copy is never told.
    void displacedClipboard(const QString& text);

private:
    Pasteboard& m_pasteboard;
};
