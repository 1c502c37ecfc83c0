#include "dictation/controller/text_inserter_adapter.h"

#include "dictation/insert/paste_target.h"
#include "dictation/insert/text_inserter.h"
#include "platform/accessibility.h"
#include "platform/permission_probe.h"

namespace {

Inserter::Inserted insertedOf(const InsertResult& result)
{
    if (result.inField())
        return {Inserter::Landing::Pasted, result.caret};
    return {result.replacedCopy ? Inserter::Landing::ReplacedCopy : Inserter::Landing::KeptOnClipboard,
            result.caret};
}

QString reasonOf(TextInserter::ReplaceFailure failure)
{
    switch (failure) {
    case TextInserter::ReplaceFailure::NoAccess:
        return QStringLiteral("no accessibility access");
    case TextInserter::ReplaceFailure::RawNotFound:
        return QStringLiteral("the raw text is no longer there");
    case TextInserter::ReplaceFailure::SelectionRefused:
        return QStringLiteral("the field refused the selection");
    case TextInserter::ReplaceFailure::ReadBackDiffers:
        return QStringLiteral("the selection read back otherwise");
    case TextInserter::ReplaceFailure::ChordFailed:
        return QStringLiteral("the paste chord could not be posted");
    }
    return {};
}

QString reasonOf(TextInserter::WriteBackFailure failure)
{
    switch (failure) {
    case TextInserter::WriteBackFailure::NothingRemembered:
        return QStringLiteral("no field was remembered");
    case TextInserter::WriteBackFailure::FieldChanged:
        return QStringLiteral("the field changed since");
    case TextInserter::WriteBackFailure::NotSettable:
        return QStringLiteral("the field takes no text");
    case TextInserter::WriteBackFailure::Refused:
        return QStringLiteral("the field refused the text");
    }
    return {};
}

bool takesText(Accessibility& a11y)
{
    const std::optional<AccessibleElement> focused = a11y.focusedElement();
    return focused && PasteTarget::takesText(a11y, *focused);
}

} // namespace

void TextInserterAdapter::rememberInsertTarget()
{
    m_inserter.rememberInsertTarget();
}

void TextInserterAdapter::insert(Shape shape, QObject* context, Done<Inserted> done)
{
    m_inserter.insert(shape, context,
                      [done = std::move(done)](const InsertResult& result) { done(insertedOf(result)); });
}

void TextInserterAdapter::replacePreviousInsert(const QString& inserted, const QString& replacement,
                                                QObject* context, Done<WriteResult> done)
{
    m_inserter.replacePreviousInsert(
        inserted, replacement, context, [done = std::move(done)](const TextInserter::Replaced& replaced) {
            done(replaced.ok() ? WriteResult(Written{}) : WriteResult(reasonOf(replaced.error())));
        });
}

void TextInserterAdapter::copyToClipboard(const QString& text)
{
    m_inserter.copyToClipboard(text);
}

void TextInserterAdapter::captureSelection(QObject* context, Done<std::optional<QString>> done)
{
    m_inserter.captureSelection(context,
                                [done = std::move(done)](const std::optional<QString>& text) { done(text); });
}

void TextInserterAdapter::replaceRememberedSelection(const QString& text, QObject* context,
                                                     Done<WriteResult> done)
{
    m_inserter.replaceRememberedSelection(
        text, context, [done = std::move(done)](const TextInserter::WrittenBack& written) {
            done(written.ok() ? WriteResult(Written{}) : WriteResult(reasonOf(written.error())));
        });
}

void TextInserterAdapter::insertAtRememberedCursor(Shape shape, const std::optional<QString>& fallbackAppID,
                                                   QObject* context, Done<Inserted> done)
{
    m_inserter.insertAtRememberedCursor(
        shape, fallbackAppID, context,
        [done = std::move(done)](const InsertResult& result) { done(insertedOf(result)); });
}

void TextInserterAdapter::focusTakesText(QObject* context, Done<bool> done)
{
    if (!m_permissions.accessibilityTrusted()) {
        done(false);
        return;
    }
    m_accessibility.run<bool>(takesText, context, std::move(done));
}
