#include "ui/shell/session_notice.h"

#include "core/base/desktop_session.h"
#include "core/text/l10n.h"

#include <QLabel>

QLabel* SessionNotice::make(QWidget* parent)
{
    auto* notice = new QLabel(L10n::s(QStringLiteral("session.waylandReach")), parent);
    notice->setObjectName(QStringLiteral("waylandNotice"));
    notice->setWordWrap(true);
    // Every permission row says granted there, and yet no key of a Wayland window is ever seen.
    notice->setVisible(DesktopSession::isWayland());
    return notice;
}
