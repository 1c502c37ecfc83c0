#pragma once

#include <QString>

#include <optional>

// The engine among the program's resources: its sources, setup script and version stamp.
struct BundledEngine {
    QString source;  // the folder "engine"
    QString script;  // "setup_engine.sh" beside it
    QString version; // "engine.version", trimmed; never empty

    // None unless the folder, the script and a non-empty version are all there.
    static std::optional<BundledEngine> find(const QString& resourceDir);

    // ".venv/bin/python" in the support folder.
    static QString interpreter();
    static bool interpreterReady();

    // True when the support folder has no usable interpreter or holds another version.
    bool needsSetup() const;
};
