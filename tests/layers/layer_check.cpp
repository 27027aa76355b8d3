#include "layers/layer_check.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

// Whether the path (under the source root, '/'-separated) lies in the folder or
// is the .h/.cpp of the stem that folder names.
bool Holds(const std::string& folder, const std::string& path)
{
    if (folder == ".") {
        return true;
    }
    if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0) {
        const char next = path[folder.size()];
        return next == '/' || (next == '.' && path.find('/', folder.size()) == std::string::npos);
    }
    return false;
}

// The unit (index) whose longest folder holds the path; -1 if none does.
int UnitOf(const LayerTable& table, const std::string& path)
{
    int best = -1;
    size_t bestLength = 0;
    for (size_t i = 0; i < table.units.size(); ++i) {
        for (const std::string& folder : table.units[i].folders) {
            if (Holds(folder, path) && (best < 0 || folder.size() > bestLength)) {
                best = static_cast<int>(i);
                bestLength = folder.size();
            }
        }
    }
    return best;
}

int UnitNamed(const LayerTable& table, const std::string& name)
{
    const auto unit = std::find_if(table.units.begin(), table.units.end(),
                                   [&](const LayerUnit& candidate) { return candidate.folders.front() == name; });
    return unit == table.units.end() ? -1 : static_cast<int>(unit - table.units.begin());
}

// For each unit, every unit it may include directly or in turn.
std::vector<std::set<int>> Reach(const LayerTable& table)
{
    std::vector<std::set<int>> reach(table.units.size());
    for (size_t i = 0; i < table.units.size(); ++i) {
        std::vector<int> pending{static_cast<int>(i)};
        while (!pending.empty()) {
            const int unit = pending.back();
            pending.pop_back();
            for (const std::string& name : table.units[unit].mayInclude) {
                const int next = UnitNamed(table, name);
                if (next >= 0 && reach[i].insert(next).second) {
                    pending.push_back(next);
                }
            }
        }
    }
    return reach;
}

bool IsPosixHeader(const LayerTable& table, const std::string& name)
{
    return std::any_of(table.posixHeaders.begin(), table.posixHeaders.end(), [&](const std::string& header) {
        return header.back() == '/' ? name.compare(0, header.size(), header) == 0 : name == header;
    });
}

bool MayIncludePosix(const LayerTable& table, const std::string& path)
{
    return std::any_of(table.posixAllowed.begin(), table.posixAllowed.end(),
                       [&](const std::string& folder) { return Holds(folder, path); });
}

// The file an include names, as a path under the root; empty when it is not
// in the tree (the language's and other libraries' headers).
std::string Resolve(const LayerTable& table, const std::filesystem::path& root, const std::filesystem::path& file,
                    bool quoted, const std::string& name)
{
    std::vector<std::filesystem::path> folders;
    if (quoted) {
        folders.push_back(file.parent_path());
    }
    for (const std::string& folder : table.includePath) {
        folders.push_back(root / folder);
    }
    for (const std::filesystem::path& folder : folders) {
        const std::filesystem::path candidate = (folder / name).lexically_normal();
        if (std::filesystem::is_regular_file(candidate)) {
            const std::string relative = candidate.lexically_relative(root).generic_string();
            if (relative.rfind("..", 0) != 0) {
                return relative;
            }
        }
    }
    return {};
}

}  // namespace

LayerTable ReadLayerTable(const std::filesystem::path& file, std::vector<std::string>& problems)
{
    LayerTable table;
    std::ifstream stream(file);
    if (!stream) {
        problems.push_back("cannot read the layer table " + file.string());
        return table;
    }
    int number = 0;
    for (std::string line; std::getline(stream, line);) {
        ++number;
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words.front().front() == '#') {
            continue;
        }
        const size_t equals = line.find('=');
        const size_t colon = line.find(':');
        if (equals != std::string::npos && (colon == std::string::npos || equals < colon)) {
            const std::vector<std::string> key = Words(line.substr(0, equals));
            const std::vector<std::string> values = Words(line.substr(equals + 1));
            const std::map<std::string, std::vector<std::string>*> settings = {
                {"include-path", &table.includePath},
                {"posix-headers", &table.posixHeaders},
                {"posix-allowed", &table.posixAllowed},
            };
            const auto setting = key.size() == 1 ? settings.find(key.front()) : settings.end();
            if (setting != settings.end()) {
                setting->second->insert(setting->second->end(), values.begin(), values.end());
            } else {
                problems.push_back(file.filename().string() + ":" + std::to_string(number) + ": unknown setting");
            }
        } else if (colon != std::string::npos && !Words(line.substr(0, colon)).empty()) {
            table.units.push_back({Words(line.substr(0, colon)), Words(line.substr(colon + 1))});
        } else {
            problems.push_back(file.filename().string() + ":" + std::to_string(number) +
                               ": neither a row ('folders: units') nor a setting ('name = values')");
        }
    }
    return table;
}

std::vector<std::string> CheckLayerTable(const LayerTable& table)
{
    std::vector<std::string> problems;
    std::map<std::string, std::string> owners;
    for (const LayerUnit& unit : table.units) {
        for (const std::string& folder : unit.folders) {
            if (!owners.emplace(folder, unit.folders.front()).second) {
                problems.push_back(folder + " is on two rows");
            }
        }
        for (const std::string& name : unit.mayInclude) {
            if (UnitNamed(table, name) < 0) {
                problems.push_back(unit.folders.front() + " names " + name + ", which is no row's first folder");
            }
        }
    }
    const std::vector<std::set<int>> reach = Reach(table);
    for (size_t i = 0; i < reach.size(); ++i) {
        if (reach[i].count(static_cast<int>(i))) {
            problems.push_back(table.units[i].folders.front() +
                               " may include itself through other rows: a cycle (put folders that include each "
                               "other on one row)");
        }
    }
    return problems;
}

std::vector<std::string> CheckIncludes(const LayerTable& table, const std::filesystem::path& root)
{
    static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    const std::vector<std::set<int>> reach = Reach(table);

    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());

    std::vector<std::string> problems;
    for (const std::filesystem::path& file : files) {
        const std::string path = file.lexically_relative(root).generic_string();
        const int unit = UnitOf(table, path);
        std::ifstream stream(file);
        int number = 0;
        for (std::string line; std::getline(stream, line);) {
            ++number;
            std::smatch match;
            if (line.find("include") == std::string::npos || !std::regex_search(line, match, includeLine)) {
                continue;
            }
            const std::string name = match[2];
            const std::string where = path + ":" + std::to_string(number) + ": " + name;
            const std::string target = Resolve(table, root, file, match[1] == "\"", name);
            if (target.empty()) {
                if (IsPosixHeader(table, name) && !MayIncludePosix(table, path)) {
                    problems.push_back(where + ": a system header outside the folders on the posix-allowed row");
                }
                continue;
            }
            const int targetUnit = UnitOf(table, target);
            if (unit < 0 || targetUnit < 0) {
                problems.push_back(where + ": " + (unit < 0 ? path : target) + " is on no row of the layer table");
            } else if (targetUnit != unit && !reach[unit].count(targetUnit)) {
                problems.push_back(where + ": " + table.units[unit].folders.front() + " may not include " +
                                   table.units[targetUnit].folders.front());
            }
        }
    }
    return problems;
}
