#include "core/error_texts.h"

#include <windows.h>

#include <cstdarg>

#include "core/error_text_table.h"
#include "core/features.h"
#include "core/logging.h"
#include "foundation/string.h"

const char* HVI_GetErrorCategoryName(uint32_t code)
{
    for (const ErrorCategoryRow& row : kErrorCategories) {
        if (row.category == code >> 16) {
            return row.name;
        }
    }
    return kUnknownErrorCategory;
}

const char* HVI_GetErrorDescription(uint32_t code)
{
    for (const ErrorDescriptionRow& row : kErrorDescriptions) {
        if (row.code == code) {
            return row.description;
        }
    }
    return kUnknownErrorDescription;
}

String HVI_GetSystemMessage(uint32_t platformError, const char* insert)
{
    char* buffer = nullptr;
    const DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(insert)};
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                        (insert ? FORMAT_MESSAGE_ARGUMENT_ARRAY : FORMAT_MESSAGE_IGNORE_INSERTS);
    const DWORD length = FormatMessageA(flags, nullptr, platformError, 0, reinterpret_cast<LPSTR>(&buffer), 0,
                                        insert ? reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(inserts)) : nullptr);
    String message;
    if (length > 0 && buffer) {
        int end = static_cast<int>(length);
        while (end > 0 && (buffer[end - 1] == '\n' || buffer[end - 1] == '\r')) {
            --end;
        }
        message.Assign(buffer, end);
    }
    if (buffer) {
        LocalFree(buffer);
    }
    return message;
}

void HVI_ReportPlatformError(uint32_t code, uint32_t platformError, const char* format, ...)
{
    String extra;
    if (format) {
        String formatted;
        va_list arguments;
        va_start(arguments, format);
        formatted.AppendFormatV(format, arguments);
        va_end(arguments);
        extra.Append("\n\n");
        extra.Append(formatted.GetText(), formatted.GetLength() < kPlatformErrorExtraLimit ? formatted.GetLength()
                                                                                           : kPlatformErrorExtraLimit);
    }
    String report;
    if (platformError != 0) {
        report.AppendFormat(kPlatformErrorReportFormat, HVI_GetErrorCategoryName(code), HVI_GetErrorDescription(code),
                            code, platformError, HVI_GetSystemMessage(platformError).GetText(), extra.GetText());
    } else {
        report.AppendFormat(kErrorReportFormat, HVI_GetErrorCategoryName(code), HVI_GetErrorDescription(code), code,
                            extra.GetText());
    }
    if (HV_IsDeveloperMode()) {
        HV_Popup(HV_LOG_ERROR, "%s", report.GetText());
    } else {
        HV_Log(HV_LOG_ERROR, "%s", report.GetText());
    }
}
