#include "core/log_format.h"

#include <halvo/core.h>

#include "core/log_texts.h"

int HVI_EffectiveLogLevel(int level) { return level >= HV_LOG_INFO && level <= HV_LOG_SYSTEM ? level : HV_LOG_ERROR; }

String HVI_FormatLogLine(int number, uint32_t elapsedMs, const char* threadName, int level, const char* text)
{
    String message;
    if (threadName) {
        message.AppendFormat(kLogThreadPrefixFormat, threadName);
    }
    const int effective = HVI_EffectiveLogLevel(level);
    if (effective != HV_LOG_INFO) {
        message.AppendFormat(kLogLevelPrefixFormat, kLogLevelNames[effective]);
    }
    message.Append(text ? text : "");
    const uint32_t seconds = elapsedMs / 1000;
    String line;
    line.AppendFormat(kLogLineFormat, number, static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                      static_cast<int>(seconds % 60), message.GetText());
    return line;
}

String HVI_FormatLogBanner(const char* buildDate, const char* buildTime)
{
    String banner;
    banner.AppendFormat(kLogBannerFormat, static_cast<int>(HV_INTERFACE_VERSION_MAJOR(HV_INTERFACE_VERSION)),
                        static_cast<int>(HV_INTERFACE_VERSION_MINOR(HV_INTERFACE_VERSION)),
                        static_cast<int>(HV_INTERFACE_VERSION_PATCH(HV_INTERFACE_VERSION)), kCoreVersion, buildDate,
                        buildTime);
    for (int i = 0; i < kLogBannerRuleLength; ++i) {
        banner.AppendChar('-');
    }
    banner.AppendChar('\n');
    return banner;
}
