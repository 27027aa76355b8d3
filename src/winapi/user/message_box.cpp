#include <windows.h>

#include <cstdio>
#include <mutex>

#include "winapi/user/message_box_records.h"

namespace {

std::mutex g_recordsLock;
std::vector<HVU_MessageBoxRecord> g_records;  // guarded by g_recordsLock

}  // namespace

int WINAPI MessageBoxA(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    const char* text = lpText ? lpText : "";
    const char* caption = lpCaption ? lpCaption : "Error";
    std::fprintf(stderr, "[%s] %s\n", caption, text);
    std::lock_guard<std::mutex> guard(g_recordsLock);
    g_records.push_back({caption, text, uType});
    // Nobody can answer: the box is taken as confirmed.
    return (uType & 0xF) == MB_YESNO ? IDYES : IDOK;
}

std::vector<HVU_MessageBoxRecord> HVU_GetMessageBoxRecords()
{
    std::lock_guard<std::mutex> guard(g_recordsLock);
    return g_records;
}

void HVU_ClearMessageBoxRecords()
{
    std::lock_guard<std::mutex> guard(g_recordsLock);
    g_records.clear();
}
