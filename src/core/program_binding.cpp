#include "core/program_binding.h"

#include <cstring>

#include "core/error_texts.h"
#include "core/logging.h"
#include "core/program_binding_texts.h"
#include "filesystem/scheme_roots.h"

namespace {

// Loads the library by native path or bare name; a failure is logged with
// that path and the loader's reason.
HMODULE LoadLibraryOrLog(const char* path)
{
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        const DWORD error = GetLastError();
        HV_Log(HV_LOG_ERROR, kProgramLoadFailedText, path, static_cast<unsigned>(error),
               HVI_GetSystemMessage(error, path).GetText());
    }
    return module;
}

// A program library in the resource folder is the program: when it cannot be
// loaded, the search ends there rather than run another one found by name.
HMODULE LoadProgramLibrary()
{
    const String resourcePath = HV_ConvertStaticPathToNativeOSPath(kProgramLibraryResourcePath);
    if (!resourcePath.IsEmpty() && GetFileAttributesA(resourcePath.GetText()) != INVALID_FILE_ATTRIBUTES) {
        return LoadLibraryOrLog(resourcePath.GetText());
    }
    return LoadLibraryOrLog(kProgramLibraryName);
}

HVI_BindResult Fail(HVI_ProgramLibrary& library, HVI_BindResult result)
{
    HVI_UnbindProgram(library);
    return result;
}

}  // namespace

HVI_BindResult HVI_BindProgram(HVI_ProgramLibrary& library)
{
    library.module = LoadProgramLibrary();
    if (!library.module) {
        return HVI_BindResult::NoLibrary;
    }
    const char* entryName = kProgramEntryPoint;
    if (auto entry = reinterpret_cast<HV_GetProgramInterfaceFunction>(
            reinterpret_cast<void*>(GetProcAddress(library.module, kProgramEntryPoint)))) {
        std::memset(&library.block, 0, sizeof(library.block));
        if (!entry(&library.block, HV_INTERFACE_VERSION)) {
            HV_Log(HV_LOG_ERROR, kProgramEntryFailedText, kProgramEntryPoint);
            return Fail(library, HVI_BindResult::EntryFailed);
        }
        library.program = &library.block;
    } else if (auto older = reinterpret_cast<HV_GetInterfaceFunction>(
                   reinterpret_cast<void*>(GetProcAddress(library.module, kOlderProgramEntryPoint)))) {
        entryName = kOlderProgramEntryPoint;
        library.program = older();
        if (!library.program) {
            HV_Log(HV_LOG_ERROR, kProgramEntryFailedText, kOlderProgramEntryPoint);
            return Fail(library, HVI_BindResult::EntryFailed);
        }
    } else {
        HV_Log(HV_LOG_ERROR, "%s", kProgramNoEntryText);
        return Fail(library, HVI_BindResult::NoEntryPoint);
    }
    const uint32_t version = library.program->interfaceVersion;
    const unsigned major = HV_INTERFACE_VERSION_MAJOR(version);
    const unsigned minor = HV_INTERFACE_VERSION_MINOR(version);
    if (major != kRequiredProgramMajor || minor != kRequiredProgramMinor) {
        HV_Log(HV_LOG_ERROR, kProgramWrongVersionText, major, minor, kRequiredProgramMajor, kRequiredProgramMinor);
        return Fail(library, HVI_BindResult::WrongVersion);
    }
    char programId[sizeof(library.program->programId) + 1] = {};
    std::memcpy(programId, library.program->programId, sizeof(library.program->programId));
    HV_Log(HV_LOG_SYSTEM, kProgramBoundText, programId, entryName, major, minor, HV_INTERFACE_VERSION_PATCH(version));
    return HVI_BindResult::Bound;
}

void HVI_UnbindProgram(HVI_ProgramLibrary& library)
{
    if (library.module) {
        FreeLibrary(library.module);
    }
    library.module = nullptr;
    library.program = nullptr;
    std::memset(&library.block, 0, sizeof(library.block));
}
