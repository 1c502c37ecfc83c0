#pragma once

#include "dictation/controller/inserter.h"

class Accessibility;
class PermissionProbe;
class TextInserter;

// Inserter over TextInserter: the dictation's view of the real paste inserter; the focus check reads the
// field through the accessibility service on its own thread.
class TextInserterAdapter final : public Inserter {
public:
    TextInserterAdapter(TextInserter& inserter, Accessibility& accessibility, PermissionProbe& permissions)
        : m_inserter(inserter)
        , m_accessibility(accessibility)
        , m_permissions(permissions)
    {
    }

    void rememberInsertTarget() override;
    void insert(Shape shape, QObject* context, Done<Inserted> done) override;
    void replacePreviousInsert(const QString& inserted, const QString& replacement, QObject* context,
                               Done<WriteResult> done) override;
    void copyToClipboard(const QString& text) override;
    void captureSelection(QObject* context, Done<std::optional<QString>> done) override;
    void replaceRememberedSelection(const QString& text, QObject* context, Done<WriteResult> done) override;
    void insertAtRememberedCursor(Shape shape, const std::optional<QString>& fallbackAppID, QObject* context,
                                  Done<Inserted> done) override;
    void focusTakesText(QObject* context, Done<bool> done) override;

private:
    TextInserter& m_inserter;
    Accessibility& m_accessibility;
    PermissionProbe& m_permissions;
};
