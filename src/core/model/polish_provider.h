#pragma once

#include "core/base/enum_table.h"

// Who polishes a dictation: the correction providers of the endpoint list, or a model on this
// machine. An unknown stored text means the providers, the choice a fresh configuration makes.
enum class PolishProvider { OpenAI, Local };

namespace PolishProviderText {

inline constexpr EnumTable<PolishProvider>::Row rows[] = {
    {PolishProvider::OpenAI, QLatin1String("openai")},
    {PolishProvider::Local, QLatin1String("local")},
};
inline constexpr EnumTable<PolishProvider> table{rows, PolishProvider::OpenAI};

} // namespace PolishProviderText
