#include "core/text/speech_route_text.h"

#include "core/text/l10n.h"

namespace SpeechRouteText {

QString of(const std::optional<SpeechServer>& server)
{
    if (!server)
        return L10n::s("speech.route.builtIn");
    if (server->model.isEmpty())
        return L10n::format(QStringLiteral("speech.route.server"), {server->host()});
    return L10n::format(QStringLiteral("speech.route.serverModel"), {server->host(), server->model});
}

} // namespace SpeechRouteText
