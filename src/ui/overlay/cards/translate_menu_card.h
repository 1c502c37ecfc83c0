#pragma once

#include "core/model/translate_language.h"

#include <QList>
#include <QWidget>

class CardIconButton;
class TranslateRowButton;

// The languages the selection can be translated into, the native one first and marked.
class TranslateMenuCard final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TranslateMenuCard)

public:
    static constexpr int width = 196;

    TranslateMenuCard(const QList<TranslateLanguage>& languages, const QString& nativeId,
                      QWidget* parent = nullptr);

    const QList<TranslateRowButton*>& rows() const { return m_rows; }
    // The hairlines of the list; one follows the native language's row.
    const QList<QWidget*>& dividers() const { return m_dividers; }
    CardIconButton* closeButton() const { return m_close; }

signals:
    void picked(const QString& code);
    void closeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CardIconButton* m_close;
    QList<TranslateRowButton*> m_rows;
    QList<QWidget*> m_dividers;
};
