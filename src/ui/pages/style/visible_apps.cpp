#include "ui/pages/style/visible_apps.h"

#include "core/base/plain_text.h"

QList<AppStyleProfile> visibleApps(const QList<AppStyleProfile>& profiles, const QString& query, bool showAll)
{
    const QString q = PlainText::fold(query.trimmed());
    QList<AppStyleProfile> shown;
    for (const AppStyleProfile& profile : profiles) {
        const bool keep =
            !q.isEmpty()
                ? PlainText::fold(profile.name).contains(q) || PlainText::fold(profile.bundleID).contains(q)
                : showAll || profile.customized || profile.suggested != QLatin1String("auto");
        if (keep)
            shown.append(profile);
    }
    return shown;
}
