#pragma once

// The local engine's condition as the views show it.
enum class EngineState { Ready, Loading, Error };
