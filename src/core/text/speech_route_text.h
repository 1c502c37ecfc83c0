#pragma once

#include "core/model/speech_server.h"

#include <QString>

#include <optional>

// Which recogniser writes the dictations, as the status lines say it: "Whisper at <host>,
// <model>", or the built-in recogniser.
namespace SpeechRouteText {

QString of(const std::optional<SpeechServer>& server);

} // namespace SpeechRouteText
