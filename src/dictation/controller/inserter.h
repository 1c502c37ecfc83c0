#pragma once

#include "core/base/result.h"
#include "core/text/caret_context.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// Reading from and writing to the focused application. Every `done` runs on the main thread, at
// once or later, and never once its context is destroyed.
class Inserter {
public:
    enum class Landing {
        Pasted,          // the paste chord was posted
        KeptOnClipboard, // the text was left on the clipboard for the user to paste
        ReplacedCopy,    // the same, in place of what the user had copied there
    };
    // What went into the field, and what stood before its caret there.
    struct Inserted {
        Landing landing = Landing::KeptOnClipboard;
        CaretContext caret;
    };
    struct Written {};
    // A write in place, or why it could not be made.
    using WriteResult = Result<Written, QString>;
    template <typename T> using Done = std::function<void(T)>;
    // Fits a text to the place it goes, from what stands before the caret there. It may run on the
    // accessibility service's thread, so it reads nothing but what it holds.
    using Shape = std::function<QString(const CaretContext&)>;

    // A text that goes in as it is, wherever that is.
    static Shape asIs(const QString& text)
    {
        return [text](const CaretContext&) { return text; };
    }

    virtual ~Inserter() = default;

    // Remembers the focused field, so that a later choice can go back to it.
    virtual void rememberInsertTarget() = 0;
    // Reads the focused field once, and pastes the text shaped for it.
    virtual void insert(Shape shape, QObject* context, Done<Inserted> done) = 0;
    // Swaps the text just inserted for another, in place.
    virtual void replacePreviousInsert(const QString& inserted, const QString& replacement, QObject* context,
                                       Done<WriteResult> done) = 0;
    virtual void copyToClipboard(const QString& text) = 0;
    // The selected text of the focused field; none when nothing (or only blank text) is selected.
    virtual void captureSelection(QObject* context, Done<std::optional<QString>> done) = 0;
    // Writes over the remembered field's selection through accessibility.
    virtual void replaceRememberedSelection(const QString& text, QObject* context,
                                            Done<WriteResult> done) = 0;
    // Activates the remembered application (else the one named), then writes or pastes there.
    virtual void insertAtRememberedCursor(Shape shape, const std::optional<QString>& fallbackAppID,
                                          QObject* context, Done<Inserted> done) = 0;
    // Whether accessibility is trusted and the focused element takes text.
    virtual void focusTakesText(QObject* context, Done<bool> done) = 0;
};
