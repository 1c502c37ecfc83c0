#pragma once

#include "core/model/overlay_result.h"

#include <QWidget>

class ChoiceActionButton;
class LineLimitedLabel;
class QLabel;

// One alternative of the choice card: its title, its text and insert, copy and note buttons.
class ChoiceRow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChoiceRow)

public:
    ChoiceRow(const OverlayResultChoice& choice, QWidget* parent = nullptr);

    const OverlayResultChoice& choice() const { return m_choice; }
    void setCopied(bool copied);
    void setNoted(bool noted);
    bool copied() const { return m_copied; }
    bool noted() const { return m_noted; }
    LineLimitedLabel* text() const { return m_text; }
    ChoiceActionButton* insertButton() const { return m_insert; }
    ChoiceActionButton* copyButton() const { return m_copy; }
    ChoiceActionButton* noteButton() const { return m_note; }

signals:
    void insertRequested();
    void copyRequested();
    void noteRequested();

private:
    OverlayResultChoice m_choice;
    LineLimitedLabel* m_text;
    ChoiceActionButton* m_insert;
    ChoiceActionButton* m_copy;
    ChoiceActionButton* m_note;
    bool m_copied = false;
    bool m_noted = false;
};
