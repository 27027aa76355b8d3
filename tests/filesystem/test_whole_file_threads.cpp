#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "file_system_fixture.h"
#include "filesystem/whole_file.h"

using WholeFileThreads = FileSystemTest;

TEST_F(WholeFileThreads, ConcurrentAtomicWritesOfOneFileLeaveOneWholeVersion)
{
    const auto user = UseRoot(HV_PATH_SCHEME_USER, "user");
    constexpr int kWriters = 4;
    constexpr int kRounds = 50;
    std::vector<std::string> versions;
    for (int writer = 0; writer < kWriters; ++writer)
        versions.push_back(std::string(size_t(20000 + writer * 7919), char('a' + writer)));
    std::vector<std::thread> threads;
    std::vector<int> failures(kWriters, 0);
    for (int writer = 0; writer < kWriters; ++writer) {
        threads.emplace_back([&, writer] {
            for (int round = 0; round < kRounds; ++round) {
                const std::string& bytes = versions[size_t(writer)];
                if (!HVI_WriteFileAtomically("user://shared.db", bytes.data(), int64_t(bytes.size())))
                    ++failures[size_t(writer)];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int writer = 0; writer < kWriters; ++writer) EXPECT_EQ(failures[size_t(writer)], 0);
    const std::string stored = m_temporary.Read("user/shared.db");
    bool matchesOne = false;
    for (const std::string& version : versions) matchesOne = matchesOne || stored == version;
    EXPECT_TRUE(matchesOne) << "stored " << stored.size() << " bytes that are no writer's version";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(user), std::filesystem::directory_iterator()), 1);
}

TEST_F(WholeFileThreads, ReadWholeFileWorksOnAThreadWithASmallStack)
{
    const auto res = UseRoot(HV_PATH_SCHEME_RES, "res");
    const std::string bytes(200000, 'q');
    m_temporary.Write("res/big.bin", bytes);
    struct Read {
        ByteBuffer buffer;
        bool done = false;
    } read;
    auto routine = [](LPVOID parameter) -> DWORD {
        auto* job = static_cast<Read*>(parameter);
        job->done = HVI_ReadWholeFile("res://big.bin", job->buffer);
        return 0;
    };
    HANDLE thread = CreateThread(nullptr, 64 * 1024, routine, &read, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_TRUE(read.done);
    EXPECT_EQ(read.buffer.GetSize(), int(bytes.size()));
}
