#include "corpus_jobs.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

#include "fastest_runs.h"
#include "shadertool/compilers/hlsl_compiler.h"
#include "shadertool/driver/driver.h"

using namespace ShaderTool;

namespace {

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A Shader XML that names its targets is opened to all of them, so that every
// file is tried for every target.
void OpenTargetList(const std::filesystem::path& path)
{
    static const std::regex targetList("(<node id=\"target\" value=\")[^\"]*\"");
    const std::string text = std::regex_replace(ReadText(path), targetList, "$1ALL\"");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

TranslationSettings CorpusSettings(uint32_t targetMask)
{
    TranslationSettings settings;
    settings.inputRoot = "res://";
    settings.targetMask = targetMask;
    settings.featureLevel = FEATURE_LEVEL_HLSL11_DEFAULT;
    return settings;
}

// Translates the file for the targets; true only when it really was
// translated (a skipped file also answers true).
bool TranslateFile(const std::string& path, uint32_t targetMask)
{
    const bool result = TranslateShaderXML(String(path.c_str()), CorpusSettings(targetMask), false);
    const std::string log = GetGlobalState().mainLog.text.GetText();
    Reset();
    return result && log.find("Translation SUCCEEDED") != std::string::npos;
}

// The texts the last HLSL11 translation wrote into the output folder.
void CollectHLSL11Texts(const std::filesystem::path& folder, const std::string& path, std::vector<StageText>& texts)
{
    const std::string base = std::filesystem::path(path).stem().string();
    for (uint32_t stage : {uint32_t(STAGE_VERTEX), uint32_t(STAGE_PIXEL)}) {
        const std::filesystem::path file = folder / "out" / (base + "." + GetStageName(int32_t(stage)));
        if (std::filesystem::exists(file)) texts.push_back({stage, String(ReadText(file).c_str())});
    }
    std::filesystem::remove_all(folder / "out");
}

void BM_TranslateFiles(benchmark::State& state, const std::vector<std::string>* files, uint32_t targetMask,
                       const std::string& name)
{
    bool translated = true;
    Measure(state, name, [&] {
        for (const std::string& path : *files) translated = TranslateFile(path, targetMask) && translated;
    });
    if (!translated) state.SkipWithError("a corpus file failed to translate");
}

void BM_CompileTexts(benchmark::State& state, const std::vector<StageText>* texts)
{
    Log log;
    HLSLCompiler compiler(&log);
    if (!compiler.Initialize(FEATURE_LEVEL_HLSL11_DEFAULT)) {
        state.SkipWithError("no HLSL compiler library");
        return;
    }
    bool compiled = true;
    Measure(state, kCompileHLSL11, [&] {
        for (const StageText& text : *texts) {
            CompiledCode out;
            compiled =
                compiler.Compile(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, text.stage, text.text, false, out) &&
                compiled;
        }
    });
    if (!compiled) state.SkipWithError(log.text.GetText());
}

}  // namespace

std::string OneTargetJob(uint32_t targetBit)
{
    return std::string("nine-target files, ") + GetTargetName(targetBit) + " alone";
}

Corpus PrepareCorpus(const std::filesystem::path& source, const std::filesystem::path& folder)
{
    std::filesystem::remove_all(folder);
    std::filesystem::copy(source, folder, std::filesystem::copy_options::recursive);
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        // The definitions file is included by another; it is no document of its own.
        if (entry.path().extension() != ".xml" || entry.path().filename() == "lit_definitions.xml") continue;
        OpenTargetList(entry.path());
        paths.push_back("res://" + entry.path().filename().string());
    }
    std::sort(paths.begin(), paths.end());

    Corpus corpus;
    Initialize(TARGET_MASK_ALL, FEATURE_LEVEL_HLSL11_DEFAULT, "res://out", false);
    for (const std::string& path : paths) {
        if (TranslateFile(path, TARGET_HLSL11)) {
            corpus.hlsl11Files.push_back(path);
            CollectHLSL11Texts(folder, path, corpus.hlsl11Texts);
        }
        bool everyTarget = true;
        for (uint32_t bit = 1; bit <= TARGET_SPIRV; bit <<= 1) everyTarget = TranslateFile(path, bit) && everyTarget;
        if (everyTarget) corpus.nineTargetFiles.push_back(path);
    }
    std::filesystem::remove_all(folder / "out");
    Initialize(TARGET_MASK_ALL, FEATURE_LEVEL_HLSL11_DEFAULT, "", false);
    return corpus;
}

void RegisterCorpusJobs(const Corpus& corpus)
{
    benchmark::RegisterBenchmark("Corpus/TranslateHLSL11", BM_TranslateFiles, &corpus.hlsl11Files, TARGET_HLSL11,
                                 kTranslateHLSL11);
    benchmark::RegisterBenchmark("Corpus/CompileHLSL11", BM_CompileTexts, &corpus.hlsl11Texts);
    benchmark::RegisterBenchmark("NineTargetFiles/AllNine", BM_TranslateFiles, &corpus.nineTargetFiles, TARGET_MASK_ALL,
                                 kNineTargets);
    for (uint32_t bit = 1; bit <= TARGET_SPIRV; bit <<= 1) {
        benchmark::RegisterBenchmark((std::string("NineTargetFiles/") + GetTargetName(bit)).c_str(), BM_TranslateFiles,
                                     &corpus.nineTargetFiles, bit, OneTargetJob(bit));
    }
}
