#pragma once

#include <QString>

// Where the supervisor finds the engine's resources and the shell that runs its setup script.
struct EngineLocations {
    // Holds "engine", "setup_engine.sh" and "engine.version".
    QString resourceDir;
    QString shell = QStringLiteral("/bin/bash");

    // The installed program's resources: <executable dir>/../share/quenda.
    static EngineLocations installed();
};
