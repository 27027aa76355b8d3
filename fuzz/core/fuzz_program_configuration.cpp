// The values pre-initialisation takes from prog.xml, developer.xml and the
// command line. The input is the text of prog.xml, a zero byte, the text of
// developer.xml, a zero byte and the command line. Both files are read by the
// data manager's XML reader; their values then set the features and the log
// threshold, name the log file and fill a program block as
// pre-initialisation does. The block's texts must stay terminated, the frame
// time sane, every feature of the command line must be set, and the log file
// must stay in its folder whatever the program id holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/configuration.h"
#include "core/features.h"
#include "core/log_file_name.h"
#include "core/logging.h"
#include "core/program_parameters.h"
#include "data/xml_database_reader.h"
#include "foundation/engine_log.h"

namespace {

std::unique_ptr<DMDatabase> ReadDatabase(const char* name, const std::string& text)
{
    auto database = std::make_unique<DMDatabase>(name);
    XMLDatabaseFault fault;
    if (!HVI_ParseXMLDatabase(text.data(), int64_t(text.size()), *database, fault)) {
        return nullptr;
    }
    return database;
}

template <size_t Size>
void CheckTerminated(const char (&text)[Size])
{
    if (std::memchr(text, '\0', Size) == nullptr) {
        std::abort();
    }
}

void CheckCommandLineFeatures(const char* commandLine)
{
    const String features = HVI_CommandLineFeatures(commandLine);
    const std::string list = features.GetText();
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find_first_of(",; ", start);
        if (end == std::string::npos) {
            end = list.size();
        }
        const std::string word = list.substr(start, end - start);
        if (!word.empty() && !HV_HasFeature(word.c_str())) {
            std::abort();
        }
        start = end + 1;
    }
}

void CheckLogFileName(const char* programId)
{
    const HV_DateTime now = {2026, 12, 6, 23, 59, 58, 0, 0};
    for (const bool dated : {false, true}) {
        const String name = HVI_MakeLogFileName(programId, dated, false, now, nullptr);
        const char* file = name.GetText();
        if (std::strncmp(file, "logs://", 7) != 0 || std::strpbrk(file + 7, "/\\") != nullptr ||
            std::strcmp(file + 7, "..") == 0) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = [] {
        HVI_SetLogSink([](void*, int, bool, const char*) {}, nullptr);
        return true;
    }();
    (void)quiet;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t firstEnd = input.find('\0');
    const size_t secondEnd = firstEnd == std::string::npos ? std::string::npos : input.find('\0', firstEnd + 1);
    const std::string program = input.substr(0, firstEnd);
    const std::string developer =
        firstEnd == std::string::npos ? std::string() : input.substr(firstEnd + 1, secondEnd - firstEnd - 1);
    const std::string commandLine = secondEnd == std::string::npos ? std::string() : input.substr(secondEnd + 1);

    HVI_Configuration configuration;
    configuration.Use(ReadDatabase("res://prog.xml", program), ReadDatabase("res://developer.xml", developer));
    HVI_ResetFeatures();
    const int presentInterval = HVI_ApplyConfiguration(configuration, commandLine.c_str());
    if (presentInterval != (HV_HasFeature("DISABLE_VSYNC") ? 0 : 1)) {
        std::abort();
    }
    CheckCommandLineFeatures(commandLine.c_str());
    CheckLogFileName(HVI_ProgramIdForFolders(configuration));

    HV_ProgramInterface block = {};
    HVI_MergeProgramParameters(configuration, commandLine.c_str(), block);
    CheckTerminated(block.programId);
    CheckTerminated(block.title);
    CheckTerminated(block.version);
    CheckTerminated(block.developer);
    CheckTerminated(block.video.locale);
    if (block.video.frameTimeMs < 0 || block.video.frameTimeMs > 500 || block.video.width < 0 ||
        block.video.height < 0 || block.video.referenceWidth < 0 || block.video.referenceHeight < 0 ||
        block.video.commandLine != commandLine.c_str()) {
        std::abort();
    }
    HVI_SetLogThreshold(2);
    return 0;
}
