#include "extensions/simulated/profile_picture_url.h"

namespace {

bool IsUnreserved(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

}  // namespace

String HVI_BuildProfilePictureUrl(const char* host, const char* userId, int32_t size)
{
    String url("http://");
    url.Append(host);
    url.AppendChar('/');
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(userId); *c != '\0'; ++c) {
        if (IsUnreserved(*c))
            url.AppendChar(char(*c));
        else
            url.AppendFormat("%%%02X", unsigned(*c));
    }
    url.AppendFormat("/picture?width=%d&height=%d&return_ssl_resources=0", size, size);
    return url;
}
