// Reads the layer table (layers.txt) and checks the #include lines of a source
// tree against it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct LayerUnit {
    std::vector<std::string> folders;     // paths under the source root
    std::vector<std::string> mayInclude;  // other units, by their first folder
};

struct LayerTable {
    std::vector<LayerUnit> units;
    std::vector<std::string> includePath;   // folders searched for an #include, in order
    std::vector<std::string> posixHeaders;  // a name ending in '/' names a folder
    std::vector<std::string> posixAllowed;  // folders whose files may include them
};

// Reads the table; what is wrong with it goes to problems, one line each.
LayerTable ReadLayerTable(const std::filesystem::path& file, std::vector<std::string>& problems);

// What is wrong with the table itself: rows naming unknown units, and cycles.
std::vector<std::string> CheckLayerTable(const LayerTable& table);

// Every include under root that breaks the table, one line each, in path order.
std::vector<std::string> CheckIncludes(const LayerTable& table, const std::filesystem::path& root);
