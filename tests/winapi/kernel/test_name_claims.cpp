#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Runs this test program again as a second process that creates a mutex of
// the given name and checks what it is told.
int RunProbe(const std::string& name, bool expectExisting)
{
    char self[4096];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self) return -1;
    const std::string command = "HALVO_KERNEL_PROBE_MUTEX='" + name +
                                "' HALVO_KERNEL_PROBE_EXISTING=" + (expectExisting ? "1" : "0") + " '" + self +
                                "' --gtest_filter=NameClaims.ProbeFromSecondProcess > /dev/null 2>&1";
    return std::system(command.c_str());
}

TEST(NameClaims, ProbeFromSecondProcess)
{
    const char* name = std::getenv("HALVO_KERNEL_PROBE_MUTEX");
    const char* existing = std::getenv("HALVO_KERNEL_PROBE_EXISTING");
    if (name == nullptr || existing == nullptr) GTEST_SKIP() << "run as a second process by the tests below";
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name);
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(GetLastError(),
              existing[0] == '1' ? static_cast<DWORD>(ERROR_ALREADY_EXISTS) : static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(mutex);
}

TEST(NameClaims, MutexNameHeldByAnotherProcessAlreadyExists)
{
    const std::string name = "Local\\HalvoKernelTestInstance-" + std::to_string(GetCurrentProcessId());
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
    ASSERT_NE(mutex, nullptr);
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(RunProbe(name, true), 0);
    CloseHandle(mutex);
    // Once this process has closed its last handle the name is free again.
    EXPECT_EQ(RunProbe(name, false), 0);
}

}  // namespace
