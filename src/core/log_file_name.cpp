#include "core/log_file_name.h"

#include "core/log_texts.h"

String HVI_MakeLogFileName(const char* programId, bool dated, bool inWorkingDir, const HV_DateTime& now,
                           bool (*exists)(const char* path))
{
    String id;
    for (const char* c = programId ? programId : ""; *c; ++c) {
        id.AppendChar(*c == ' ' || *c == '/' || *c == '\\' ? '-' : *c);
    }
    const char* scheme = inWorkingDir ? "res" : "logs";
    if (!dated) {
        return String::Formatted(kLogFileNameFormat, scheme, id.GetText());
    }
    const String base = String::Formatted(kDatedLogFileNameFormat, scheme, id.GetText(), now.year, now.month, now.day,
                                          now.hour, now.minute);
    String name = String::Formatted("%s%s", base.GetText(), kLogFileExtension);
    for (int number = 1; number <= kLogFileNumberLimit && exists && exists(name.GetText()); ++number) {
        name = String::Formatted("%s", base.GetText());
        name.AppendFormat(kLogFileNumberFormat, number);
        name.Append(kLogFileExtension);
    }
    return name;
}
