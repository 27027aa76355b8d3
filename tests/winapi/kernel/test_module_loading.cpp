#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "support/temporary_folder.h"

namespace {

using AnswerFunction = int(WINAPI*)();
using SwapFunction = int(WINAPI*)(int);

const std::string kModuleFolder = HALVO_MODULE_DIR;

int CallAnswer(HMODULE module)
{
    auto answer = reinterpret_cast<AnswerFunction>(GetProcAddress(module, "KernelTestModuleAnswer"));
    return answer != nullptr ? answer() : -1;
}

TEST(ModuleLoading, LoadsBareNameFromLibraryPath)
{
    HMODULE module = LoadLibraryA("kernel-test-module.dll");
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_EQ(CallAnswer(module), 42);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST(ModuleLoading, BareNameIsComparedWithoutCase)
{
    HMODULE lower = LoadLibraryA("kernel-test-module.dll");
    HMODULE upper = LoadLibraryA("KERNEL-Test-Module.DLL");
    ASSERT_NE(upper, nullptr) << GetLastError();
    EXPECT_EQ(upper, lower);
    EXPECT_EQ(CallAnswer(upper), 42);
    EXPECT_TRUE(FreeLibrary(upper));
    EXPECT_TRUE(FreeLibrary(lower));
}

TEST(ModuleLoading, NameWithoutExtensionGetsDll)
{
    HMODULE module = LoadLibraryA("kernel-test-module");
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_TRUE(FreeLibrary(module));
}

TEST(ModuleLoading, LoadsByPathWithEitherSeparator)
{
    const std::string forward = kModuleFolder + "/kernel-test-module.dll";
    std::string backward = forward;
    for (char& c : backward) {
        if (c == '/') c = '\\';
    }
    HMODULE byForward = LoadLibraryA(forward.c_str());
    HMODULE byBackward = LoadLibraryExA(backward.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    ASSERT_NE(byForward, nullptr) << GetLastError();
    EXPECT_EQ(byBackward, byForward);
    HMODULE byBareName = LoadLibraryA("kernel-test-module.dll");
    EXPECT_EQ(byBareName, byForward);
    FreeLibrary(byBareName);
    FreeLibrary(byBackward);
    FreeLibrary(byForward);
}

TEST(ModuleLoading, MissingLibraryFailsWithModNotFound)
{
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadLibraryA("no-such-module.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryA((kModuleFolder + "/no-such-module.dll").c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(ModuleLoading, FileThatIsNotALibraryFailsWithBadExeFormat)
{
    TemporaryFolder folder;
    folder.Write("broken.dll", "MZ this is not a library of this system");
    EXPECT_EQ(LoadLibraryA(folder.File("broken.dll").c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
}

TEST(ModuleLoading, MissingEntryPointFailsWithProcNotFound)
{
    HMODULE module = LoadLibraryA("kernel-test-module.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetProcAddress(module, "NoSuchEntryPoint"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    FreeLibrary(module);
}

TEST(ModuleLoading, UnknownFlagsAndFileHandleAreRefused)
{
    EXPECT_EQ(LoadLibraryExA("kernel-test-module.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(LoadLibraryExA("kernel-test-module.dll", INVALID_HANDLE_VALUE, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
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

TEST(ModuleLoading, ModuleFileNameIsTheLoadedFile)
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
}

TEST(ModuleLoading, NullModuleFileNameIsTheExecutable)
{
    char name[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, name, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::filesystem::path(name), std::filesystem::canonical("/proc/self/exe"));
    EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
}

TEST(ModuleLoading, ModuleFileNameIsCutToASmallBuffer)
{
    char name[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetModuleFileNameA(nullptr, name, sizeof name), sizeof name);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(name[3], '\0');
}

}  // namespace
