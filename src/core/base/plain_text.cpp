#include "core/base/plain_text.h"

#include <QRegularExpression>

QStringList PlainText::nonEmptyLines(const QString& text)
{
    static const QRegularExpression lineBreaks(
        QStringLiteral("\\r\\n|[\\n\\r\\x{0B}\\x{0C}\\x{85}\\x{2028}\\x{2029}]"));
    return text.split(lineBreaks, Qt::SkipEmptyParts);
}

QString PlainText::fold(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded.append(c);
    }
    return folded.toCaseFolded();
}
