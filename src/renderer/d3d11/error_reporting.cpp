// Reports of renderer errors, with the reason when the device was removed.
#include <windows.h>

#include "core/error_texts.h"
#include "core/features.h"
#include "core/logging.h"
#include "renderer/d3d11/device_messages.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"

namespace {

// The system's message for a result, without its final line break; empty
// when the system has none.
String SystemMessage(HRESULT result)
{
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, DWORD(result),
                       MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    String message;
    if (length > 0 && buffer != nullptr) {
        int end = int(length);
        while (end > 0 && (buffer[end - 1] == '\n' || buffer[end - 1] == '\r')) --end;
        message.Append(buffer, end);
    }
    if (buffer != nullptr) LocalFree(buffer);
    return message;
}

}  // namespace

void RendImpDirect3D11::ReportError(uint32_t code, HRESULT result, const char* extra)
{
    String text(extra != nullptr ? extra : "");
    if (m_device != nullptr) {
        const HRESULT reason = m_device->GetDeviceRemovedReason();
        if (FAILED(reason)) {
            const String message = SystemMessage(reason);
            text.Append(kRemovedReasonOpening);
            text.Append(message.IsEmpty() ? kRemovedReasonUnknown : message.GetText());
            text.AppendFormat(kRemovedReasonClosing, unsigned(reason));
        }
    }
    if (!text.IsEmpty()) {
        HVI_ReportPlatformError(code, uint32_t(result), "%s", text.GetText());
        return;
    }
    const char* category = HVI_GetErrorCategoryName(code);
    const char* description = HVI_GetErrorDescription(code);
    if (HV_IsDeveloperMode()) {
        HV_Popup(HV_LOG_ERROR, kDirectErrorFormat, category, description, code, int(result), "");
    } else {
        HV_Log(HV_LOG_ERROR, kDirectErrorFormat, category, description, code, int(result), "");
    }
}
