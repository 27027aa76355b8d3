// Local and global memory blocks. Both are fixed blocks of the C allocator;
// a global block carries a small header with its size and lock count, so
// GlobalSize and GlobalUnlock answer as on the platform.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include <windows.h>

namespace {

constexpr unsigned kGlobalBlockMagic = 0x48474C42;  // "HGLB"

struct alignas(16) GlobalHeader {
    unsigned magic;
    std::atomic<unsigned> locks;
    SIZE_T size;
};

// The header of a block GlobalAlloc made; else null, with
// ERROR_INVALID_HANDLE as the last error.
GlobalHeader* HeaderOrSetError(HGLOBAL block)
{
    GlobalHeader* header = nullptr;
    if (block != nullptr) header = reinterpret_cast<GlobalHeader*>(static_cast<char*>(block) - sizeof(GlobalHeader));
    if (header == nullptr || header->magic != kGlobalBlockMagic) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return header;
}

}  // namespace

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes)
{
    void* block = (uFlags & LMEM_ZEROINIT) ? std::calloc(uBytes ? uBytes : 1, 1) : std::malloc(uBytes ? uBytes : 1);
    if (block == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return block;
}

HLOCAL WINAPI LocalFree(HLOCAL hMem)
{
    std::free(hMem);
    return nullptr;
}

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes)
{
    if (dwBytes > static_cast<SIZE_T>(-1) - sizeof(GlobalHeader)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* memory = std::malloc(sizeof(GlobalHeader) + dwBytes);
    if (memory == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto* header = new (memory) GlobalHeader{kGlobalBlockMagic, {0}, dwBytes};
    char* data = reinterpret_cast<char*>(header + 1);
    if (uFlags & GMEM_ZEROINIT) std::memset(data, 0, dwBytes);
    return data;
}

LPVOID WINAPI GlobalLock(HGLOBAL hMem)
{
    GlobalHeader* header = HeaderOrSetError(hMem);
    if (header == nullptr) return nullptr;
    header->locks.fetch_add(1);
    return hMem;
}

BOOL WINAPI GlobalUnlock(HGLOBAL hMem)
{
    GlobalHeader* header = HeaderOrSetError(hMem);
    if (header == nullptr) return FALSE;
    unsigned locks = header->locks.load();
    while (locks > 0 && !header->locks.compare_exchange_weak(locks, locks - 1)) {}
    if (locks > 1) return TRUE;
    // The block is no longer locked: zero with no error, as the platform answers.
    SetLastError(locks == 1 ? NO_ERROR : ERROR_NOT_LOCKED);
    return FALSE;
}

SIZE_T WINAPI GlobalSize(HGLOBAL hMem)
{
    GlobalHeader* header = HeaderOrSetError(hMem);
    if (header == nullptr) return 0;
    return header->size;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem)
{
    if (hMem == nullptr) return nullptr;
    GlobalHeader* header = HeaderOrSetError(hMem);
    if (header == nullptr) return hMem;
    header->magic = 0;
    header->~GlobalHeader();
    std::free(header);
    return nullptr;
}
