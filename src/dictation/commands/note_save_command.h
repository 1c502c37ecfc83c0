#pragma once

#include <QString>

#include <optional>

// Tells a spoken instruction about a selection that asks to save to the notes from any other
// instruction, with fixed German and English word tables.
namespace NoteSaveCommand {

enum class Kind {
    SaveSelection, // save the selected text as it stands
    SaveAnswer,    // the instruction asks for more (a rewrite, a title, ...): save the engine's answer
};

// None when the instruction is not about saving to the notes.
std::optional<Kind> kind(const QString& instruction);

} // namespace NoteSaveCommand
