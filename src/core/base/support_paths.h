#pragma once

#include <QString>

// The application's folder "Morvane Quenda" in the user's data folder, and the files in it.
namespace SupportPaths {

// Computed once per run; on first use a visible-empty folder takes over the old "Quenda"
// folder (dropping "engine.version" so the engine is set up again), then the folder is created.
// Nothing is moved or created while the folder is to stay untouched.
QString directory();
// "models" inside the support folder, created on every use when missing.
QString models();
// A file or folder name inside the support folder.
QString file(const QString& name);

// Set for a run that must leave the user's files alone (a snapshot); resets the cached directory.
void setUntouched(bool untouched);

// The folder that holds the support folder (normally ~/.local/share). Resets the cached
// directory so the next use resolves anew; the app never calls it, tests point it at a temp dir.
void setDataRoot(const QString& root);

} // namespace SupportPaths
