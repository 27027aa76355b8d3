#pragma once

// The module libraries and the feature word that loads each, in the order
// they are tried at start-up.
struct ModuleLibrary {
    const char* feature;
    const char* fileName;
};

inline constexpr ModuleLibrary kModuleLibraries[] = {
    {"GALAXY", "module-galaxy.dll"},
    {"KARTRIDGE", "module-kartridge.dll"},
    {"STEAM", "module-steam.dll"},
};
static_assert(sizeof kModuleLibraries / sizeof kModuleLibraries[0] == 3, "three module libraries");
