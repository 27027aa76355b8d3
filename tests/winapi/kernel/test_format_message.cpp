#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kSystemFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;

std::string SystemText(DWORD code, DWORD extraFlags = 0)
{
    char buffer[512];
    const DWORD length = FormatMessageA(kSystemFlags | extraFlags, nullptr, code, 0, buffer, sizeof buffer, nullptr);
    return length == 0 ? "<failed>" : std::string(buffer, length);
}

TEST(FormatMessage, GivesThePlatformTextsForSystemSocketAndResultCodes)
{
    const struct {
        DWORD code;
        const char* text;
    } messages[] = {
        {ERROR_SUCCESS, "The operation completed successfully.\r\n"},
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
        {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
        {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
        {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command.\r\n"},
        {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
        {ERROR_NO_MORE_FILES, "There are no more files.\r\n"},
        {ERROR_FILE_EXISTS, "The file exists.\r\n"},
        {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists.\r\n"},
        {ERROR_DIR_NOT_EMPTY, "The directory is not empty.\r\n"},
        {ERROR_MOD_NOT_FOUND, "The specified module could not be found.\r\n"},
        {ERROR_PROC_NOT_FOUND, "The specified procedure could not be found.\r\n"},
        {ERROR_BAD_EXE_FORMAT, "%1 is not a valid Win32 application.\r\n"},
        {ERROR_TIMEOUT, "This operation returned because the timeout period expired.\r\n"},
        {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.\r\n"},
        {WSAECONNREFUSED, "No connection could be made because the target machine actively refused it.\r\n"},
        {WSANOTINITIALISED, "Either the application has not called WSAStartup, or WSAStartup failed.\r\n"},
        {static_cast<DWORD>(E_FAIL), "Unspecified error\r\n"},
        {static_cast<DWORD>(E_INVALIDARG), "The parameter is incorrect.\r\n"},
        {static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)), "Access is denied.\r\n"},
        {static_cast<DWORD>(DXGI_ERROR_DEVICE_REMOVED),
         "The GPU device instance has been suspended. Use GetDeviceRemovedReason to determine the appropriate "
         "action.\r\n"},
        {static_cast<DWORD>(DXGI_ERROR_DEVICE_RESET),
         "The GPU will not respond to more commands, most likely because some other application submitted invalid "
         "commands.\r\nThe calling application should re-create the device and continue.\r\n"},
        {static_cast<DWORD>(DXGI_ERROR_DRIVER_INTERNAL_ERROR),
         "An internal issue prevented the driver from carrying out the specified operation. The driver's state is "
         "probably suspect,\r\nand the application should not continue.\r\n"},
        {static_cast<DWORD>(DXGI_STATUS_OCCLUDED), "The Present operation was invisible to the user.\r\n"},
    };
    for (const auto& message : messages) EXPECT_EQ(SystemText(message.code), message.text) << message.code;
}

TEST(FormatMessage, AllocatesWhenAskedAndTheWidthMaskTurnsLineBreaksIntoSpaces)
{
    // The reasons a removed device gives, asked for as a renderer reports them: allocated, inserts not ignored.
    LPSTR text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                       static_cast<DWORD>(DXGI_ERROR_DEVICE_HUNG), 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text, length),
              "The GPU will not respond to more commands, most likely because of an invalid command passed by the "
              "calling application.\r\n");
    EXPECT_EQ(LocalFree(text), nullptr);
    EXPECT_EQ(SystemText(ERROR_ACCESS_DENIED, FORMAT_MESSAGE_MAX_WIDTH_MASK), "Access is denied. ");
    EXPECT_EQ(SystemText(static_cast<DWORD>(DXGI_ERROR_INVALID_CALL), FORMAT_MESSAGE_MAX_WIDTH_MASK),
              "The application made a call that is invalid. Either the parameters of the call or the state of some "
              "object was incorrect. Enable the D3D debug layer in order to see details via debug messages. ");
}

TEST(FormatMessage, UnknownCodesAndTooSmallBuffersFail)
{
    char buffer[8];
    EXPECT_EQ(FormatMessageA(kSystemFlags, nullptr, ERROR_FILE_NOT_FOUND, 0, buffer, sizeof buffer, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    // Unknown codes, and results of the graphics facility without a text, alike.
    for (DWORD code : {0x12345u, 0x887A00FFu}) {
        EXPECT_EQ(SystemText(code), "<failed>") << code;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_MR_MID_NOT_FOUND)) << code;
    }
}

DWORD FormatWithList(char* buffer, DWORD size, const char* text, ...)
{
    va_list arguments;
    va_start(arguments, text);
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_STRING, text, 0, 0, buffer, size, &arguments);
    va_end(arguments);
    return length;
}

TEST(FormatMessage, FillsInsertsFromAnArgumentArrayOrAVaListInNumberOrder)
{
    const DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>("box"), 3, 255};
    char buffer[64];
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, "%1 has %2!d! items (%3!X!)%n%%%0",
                       0, 0, buffer, sizeof buffer, reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(arguments)));
    EXPECT_EQ(std::string(buffer, length), "box has 3 items (FF)\r\n%");
    const DWORD listed = FormatWithList(buffer, sizeof buffer, "%2 then %1!u!, %3!I64d!", 7u, "seven", -5LL);
    EXPECT_EQ(std::string(buffer, listed), "seven then 7, -5");
}

TEST(FormatMessage, InsertFormatsThatReadOrWriteMoreAndInsertsWithoutArgumentsAreRefused)
{
    const DWORD_PTR arguments[] = {5, 6};
    char buffer[64];
    for (const char* text : {"%1!*d!", "%1!n!", "%1!d%s!", "%1!!", "%1!d"}) {
        EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, text, 0, 0, buffer,
                                 sizeof buffer, reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(arguments))),
                  0u)
            << text;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_STRING, "%1 is missing", 0, 0, buffer, sizeof buffer, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
