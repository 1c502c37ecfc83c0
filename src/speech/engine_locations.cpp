#include "engine_locations.h"

#include "core/resource_paths.h"

EngineLocations EngineLocations::installed()
{
    EngineLocations locations;
    locations.resourceDir = ResourcePaths::directory();
    return locations;
}
