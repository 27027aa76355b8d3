#include "core/http_requests.h"

#include <cstring>

#include "core/logging.h"
#include "core/memory.h"
#include "filesystem/http_client.h"
#include "filesystem/whole_file.h"

namespace {

// Whether the request is one the client can make; logs why not.
bool IsSupported(const char* operation, const char* method, const char* url, const char* headers, const HV_Blob* body)
{
    if (!url || !*url) {
        HV_Log(HV_LOG_ERROR, "%s: url is missing.", operation);
        return false;
    }
    if (!method || std::strcmp(method, "GET") != 0) {
        HV_Log(HV_LOG_ERROR, "%s: method '%s' is not supported, only GET.", operation, method ? method : "(null)");
        return false;
    }
    if ((body && body->size > 0) || (headers && *headers)) {
        HV_Log(HV_LOG_ERROR, "%s: a GET request takes no body and no extra headers.", operation);
        return false;
    }
    return true;
}

}  // namespace

int32_t HV_HttpRequest(const char* method, const char* url, const char* headers, const HV_Blob* body,
                       HV_Blob** responseHeaders, HV_Blob** responseBody)
{
    if (responseHeaders) {
        *responseHeaders = nullptr;
    }
    if (responseBody) {
        *responseBody = nullptr;
    }
    if (!IsSupported("HV_HttpRequest", method, url, headers, body)) {
        return 0;
    }
    HttpGetResult result;
    if (HVI_HttpGet(url, result) && responseBody) {
        HV_Blob* blob = HV_AllocateBlob(result.body.GetSize());
        if (!blob) {
            return 0;
        }
        if (result.body.GetSize() > 0) {
            std::memcpy(blob->data, result.body.GetData(), static_cast<size_t>(result.body.GetSize()));
        }
        *responseBody = blob;
    }
    return result.status;
}

int32_t HV_HttpRequestToFile(const char* method, const char* url, const char* headers, const HV_Blob* body,
                             const char* path)
{
    if (!path || !*path) {
        HV_Log(HV_LOG_ERROR, "HV_HttpRequestToFile: path is missing.");
        return 0;
    }
    if (!IsSupported("HV_HttpRequestToFile", method, url, headers, body)) {
        return 0;
    }
    HttpGetResult result;
    if (HVI_HttpGet(url, result) && !HVI_WriteFileAtomically(path, result.body.GetData(), result.body.GetSize())) {
        HV_Log(HV_LOG_ERROR, "HV_HttpRequestToFile: cannot write '%s'.", path);
        return 0;
    }
    return result.status;
}
