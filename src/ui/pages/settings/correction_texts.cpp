#include "ui/pages/settings/correction_texts.h"

#include "core/text/l10n.h"

QString CorrectionTexts::ofEndpoint(const QString& title, int number)
{
    return L10n::format(QStringLiteral("settings.correction.ofEndpoint"), {title, number});
}

QString CorrectionTexts::kind(const QString& raw)
{
    const QString key = QStringLiteral("settings.correction.kind.") + raw;
    const QString text = L10n::s(key);
    return text == key ? raw : text;
}
