#include "extensions/local/score_data_text.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kLongestReadableField = 511;

}  // namespace

String HVI_FormatScoreData(const uint8_t* data, int32_t length)
{
    String text;
    for (int32_t i = 0; i < length; ++i) text.AppendFormat(i == 0 ? "%u" : " %u", unsigned(data[i]));
    return text;
}

int32_t HVI_ReadDecimal(const char* text)
{
    const long long value = std::strtoll(text, nullptr, 10);
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int32_t(value);
}

void HVI_ParseScoreData(const char* text, HV_LeaderboardScore& score)
{
    if (text == nullptr || text[0] == '\0') {
        score.dataLength = 0;
        return;
    }
    int32_t fieldCount = 1;
    for (const char* c = text; *c != '\0'; ++c) fieldCount += *c == ' ';
    if (fieldCount > HV_LEADERBOARD_DATA_SIZE) return;
    uint8_t bytes[HV_LEADERBOARD_DATA_SIZE] = {};
    const char* field = text;
    for (int32_t i = 0; i < fieldCount; ++i) {
        const char* end = std::strchr(field, ' ');
        const size_t length = end ? size_t(end - field) : std::strlen(field);
        if (length > 0 && length <= size_t(kLongestReadableField)) {
            char buffer[kLongestReadableField + 1];
            std::memcpy(buffer, field, length);
            buffer[length] = '\0';
            bytes[i] = uint8_t(HVI_ReadDecimal(buffer));
        }
        field = end ? end + 1 : field + length;
    }
    std::memcpy(score.data, bytes, sizeof bytes);
    score.dataLength = fieldCount;
}
