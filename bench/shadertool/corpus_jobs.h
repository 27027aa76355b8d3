// The Shader XML corpus of the tests, translated through the driver as the
// engine asks for it, and its HLSL11 texts compiled.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/string.h"

struct StageText {
    uint32_t stage;
    String text;
};

// The corpus copied into a folder with every target list opened to all
// targets, and what each of its files translates for.
struct Corpus {
    std::vector<std::string> hlsl11Files;      // "res://" paths that translate for HLSL11
    std::vector<std::string> nineTargetFiles;  // those that translate for every one of the nine targets
    std::vector<StageText> hlsl11Texts;        // the HLSL11 text of every stage of hlsl11Files
};

// Copies the corpus from `source` into `folder` (the "res://" root) and tries
// every file for every target; the driver is left initialised for all of them.
Corpus PrepareCorpus(const std::filesystem::path& source, const std::filesystem::path& folder);

// Job names, for the report.
inline const std::string kTranslateHLSL11 = "translate HLSL11";
inline const std::string kCompileHLSL11 = "compile HLSL11";
inline const std::string kNineTargets = "nine-target files, all nine targets at once";
std::string OneTargetJob(uint32_t targetBit);  // the nine-target files for that target alone

void RegisterCorpusJobs(const Corpus& corpus);
