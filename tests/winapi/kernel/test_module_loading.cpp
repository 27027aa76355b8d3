#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "support/temporary_folder.h"
#include "winapi/kernel/kernel_test_support.h"

namespace {

using AnswerFunction = int(WINAPI*)();
using SwapFunction = int(WINAPI*)(int);

const std::string kModuleFolder = HALVO_MODULE_DIR;

int CallAnswer(HMODULE module)
{
    auto answer = reinterpret_cast<AnswerFunction>(GetProcAddress(module, "KernelTestModuleAnswer"));
    return answer != nullptr ? answer() : -1;
}

// A bare name is looked for on the library path without case, ".dll" added when
// missing; a path may use either separator. Every name loads the one library.
TEST(ModuleLoading, BareNamesAndPathsLoadTheOneLibrary)
{
    const std::string forward = kModuleFolder + "/kernel-test-module.dll";
    std::string backward = forward;
    for (char& c : backward) {
        if (c == '/') c = '\\';
    }
    HMODULE first = LoadLibraryA("kernel-test-module.dll");
    ASSERT_NE(first, nullptr) << GetLastError();
    EXPECT_EQ(CallAnswer(first), 42);
    for (const std::string& name :
         {std::string("KERNEL-Test-Module.DLL"), std::string("kernel-test-module"), forward}) {
        HMODULE module = LoadLibraryA(name.c_str());
        EXPECT_EQ(module, first) << name << ": " << GetLastError();
        EXPECT_TRUE(FreeLibrary(module)) << name;
    }
    HMODULE byBackward = LoadLibraryExA(backward.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    EXPECT_EQ(byBackward, first);
    FreeLibrary(byBackward);
    EXPECT_TRUE(FreeLibrary(first));
}

TEST(ModuleLoading, MissingOrBrokenLibrariesEntryPointsAndBadArgumentsAreRefused)
{
    TemporaryFolder folder;
    folder.Write("broken.dll", "MZ this is not a library of this system");
    const std::string broken = folder.File("broken.dll");
    const std::string missing = kModuleFolder + "/no-such-module.dll";
    HMODULE module = LoadLibraryA("kernel-test-module.dll");
    ASSERT_NE(module, nullptr);
    ExpectRefused({
        {"a missing bare name", [] { return !LoadLibraryA("no-such-module.dll"); }, ERROR_MOD_NOT_FOUND},
        {"a missing path", [&] { return !LoadLibraryA(missing.c_str()); }, ERROR_MOD_NOT_FOUND},
        {"a file that is no library", [&] { return !LoadLibraryA(broken.c_str()); }, ERROR_BAD_EXE_FORMAT},
        {"a missing entry point", [&] { return !GetProcAddress(module, "NoSuchEntryPoint"); }, ERROR_PROC_NOT_FOUND},
        {"an unknown flag", [] { return !LoadLibraryExA("kernel-test-module.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE); },
         ERROR_INVALID_PARAMETER},
        {"a file handle", [] { return !LoadLibraryExA("kernel-test-module.dll", INVALID_HANDLE_VALUE, 0); },
         ERROR_INVALID_PARAMETER},
    });
    FreeLibrary(module);
}

TEST(ModuleLoading, LibraryStaysLoadedUntilLastFree)
{
    HMODULE first = LoadLibraryA("kernel-test-module.dll");
    HMODULE second = LoadLibraryA("kernel-test-module.dll");
    ASSERT_NE(first, nullptr);
    auto swap = reinterpret_cast<SwapFunction>(GetProcAddress(first, "KernelTestModuleSwapValue"));
    ASSERT_NE(swap, nullptr);
    swap(7);
    EXPECT_TRUE(FreeLibrary(first));
    // One reference is left: the library and its state are still there.
    EXPECT_EQ(swap(8), 7);
    EXPECT_TRUE(FreeLibrary(second));
    // The last reference is gone: the handle is no longer valid, and a new
    // load starts from a freshly loaded library.
    EXPECT_EQ(GetProcAddress(second, "KernelTestModuleAnswer"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FreeLibrary(second));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HMODULE again = LoadLibraryA("kernel-test-module.dll");
    ASSERT_NE(again, nullptr);
    auto swapAgain = reinterpret_cast<SwapFunction>(GetProcAddress(again, "KernelTestModuleSwapValue"));
    EXPECT_EQ(swapAgain(1), 0);
    FreeLibrary(again);
}

TEST(ModuleLoading, ModuleFileNameIsTheLoadedFileOrForNullTheExecutableAndIsCutToASmallBuffer)
{
    HMODULE module = LoadLibraryA("KERNEL-TEST-MODULE.DLL");
    ASSERT_NE(module, nullptr);
    char name[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, name, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(length, std::strlen(name));
    EXPECT_EQ(std::filesystem::path(name), std::filesystem::canonical(kModuleFolder + "/kernel-test-module.dll"));
    EXPECT_EQ(GetModuleHandleA("kernel-test-module.dll"), module);
    FreeLibrary(module);
    ASSERT_GT(GetModuleFileNameA(nullptr, name, MAX_PATH), 0u);
    EXPECT_EQ(std::filesystem::path(name), std::filesystem::canonical("/proc/self/exe"));
    EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), sizeof small);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(small[3], '\0');
}

}  // namespace
