#include "ui/kit/clipboard_text.h"

#include <QClipboard>
#include <QGuiApplication>

void ClipboardText::copy(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}
