#include "speech/engine_locations.h"

#include "core/base/resource_paths.h"

EngineLocations EngineLocations::installed()
{
    EngineLocations locations;
    locations.resourceDir = ResourcePaths::directory();
    return locations;
}
