#include "core/notes/apple_notes_failure.h"

#include "core/base/plain_text.h"

#include <QStringList>

#include <algorithm>

bool AppleNotesFailure::denied() const
{
    if (launchFailed)
        return false;
    static const QStringList markers{QStringLiteral("-1743"), QStringLiteral("not authorized"),
                                     QStringLiteral("nicht berechtigt"), QStringLiteral("nicht erlaubt"),
                                     QStringLiteral("-1002")};
    const QString folded = PlainText::fold(output);
    return std::any_of(markers.begin(), markers.end(), [&](const QString& m) { return folded.contains(m); });
}
