#include "app/shell/clipboard_inserter.h"

#include "platform/pasteboard.h"
#include "platform/pasteboard_snapshot.h"

#include <QPointer>
#include <QTimer>

namespace {

// `done` must come later than the call, as the paste inserter's does, and never for a gone context.
template <typename T> void answerLater(QObject* context, Inserter::Done<T> done, T value)
{
    QTimer::singleShot(0, context, [done = std::move(done), value = std::move(value)] { done(value); });
}

} // namespace

void ClipboardInserter::insert(const QString& text, QObject* context, Done<Landing> done)
{
    copyToClipboard(text);
    answerLater(context, std::move(done), Landing::KeptOnClipboard);
}

void ClipboardInserter::replacePreviousInsert(const QString&, const QString& replacement, QObject* context,
                                              Done<WriteResult> done)
{
    copyToClipboard(replacement);
    answerLater(context, std::move(done),
                WriteResult(QStringLiteral("no write in place without accessibility")));
}

void ClipboardInserter::copyToClipboard(const QString& text)
{
    PasteboardSnapshot before;
    for (const QString& type : m_pasteboard.types())
        if (const auto data = m_pasteboard.data(type))
            before.items.append({type, *data});
    before.text = m_pasteboard.plainText();
    m_pasteboard.write({PasteboardItem{QStringLiteral("text/plain"), text.toUtf8()}});
    // Nothing puts the clipboard back here, so the history keeps what the user had copied.
    if (const auto displaced = before.displacedText(); displaced && *displaced != text)
        emit displacedClipboard(*displaced);
}

void ClipboardInserter::captureSelection(QObject* context, Done<std::optional<QString>> done)
{
    answerLater(context, std::move(done), std::optional<QString>{});
}

void ClipboardInserter::replaceRememberedSelection(const QString& text, QObject* context,
                                                   Done<WriteResult> done)
{
    copyToClipboard(text);
    answerLater(context, std::move(done),
                WriteResult(QStringLiteral("no write in place without accessibility")));
}

void ClipboardInserter::insertAtRememberedCursor(const QString& text, const std::optional<QString>&,
                                                 QObject* context, Done<Landing> done)
{
    insert(text, context, std::move(done));
}

void ClipboardInserter::focusTakesText(QObject* context, Done<bool> done)
{
    answerLater(context, std::move(done), false);
}
