#pragma once

#include <cstdio>

#include "filesystem/file_system_classes.h"

namespace HVFileSystem {

// A file on disk through C standard I/O, always in binary mode.
class NativeFile final : public File {
public:
    explicit NativeFile(std::FILE* stream) : m_stream(stream) {}
    ~NativeFile() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t GetPosition() override;
    int64_t GetSize() override;
    bool Flush() override;
    bool Close() override;

private:
    std::FILE* m_stream;  // null once closed
};

}  // namespace HVFileSystem
