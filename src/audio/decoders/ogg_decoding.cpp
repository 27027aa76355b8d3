#include "audio/decoders/ogg_decoding.h"

int64_t HVI_DecodeOgg(OggVorbis_File* decoder, uint8_t* out, int64_t bytes, int* errorRun)
{
    int64_t written = 0;
    while (written < bytes && *errorRun <= HV_OGG_MAX_ERRORS_IN_A_ROW) {
        const int64_t left = bytes - written;
        const int chunk = left > 65536 ? 65536 : static_cast<int>(left);
        int link = 0;
        const long result = ov_read(decoder, reinterpret_cast<char*>(out + written), chunk, 0, 2, 1, &link);
        if (result == 0) {
            break;
        }
        if (result < 0) {
            ++*errorRun;
            continue;
        }
        *errorRun = 0;
        written += result;
    }
    return written;
}
