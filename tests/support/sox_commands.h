// sox and soxi as judges of the sound the tests make: commands run through the
// shell, and the measure of a tone that sox's "stat" effect reports.
#pragma once

#include <cstdio>
#include <string>

// What the shell command writes on standard output and error.
inline std::string CommandOutput(const std::string& command)
{
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    std::string text;
    char line[256];
    while (pipe && fgets(line, sizeof(line), pipe)) text += line;
    if (pipe) pclose(pipe);
    return text;
}

// sox's "stat" report on the left channel of a raw file of 16-bit
// little-endian stereo frames at 44100 Hz.
inline std::string LeftChannelStat(const std::string& rawPath)
{
    return CommandOutput("sox -t raw -r 44100 -c 2 -b 16 -e signed-integer -L '" + rawPath + "' -n remix 1 stat");
}

// The rough frequency in Hz that a "stat" report gives, or 0 when it gives none.
inline double RoughFrequency(const std::string& statReport)
{
    const std::string label = "Rough   frequency:";
    const auto at = statReport.find(label);
    return at == std::string::npos ? 0.0 : std::stod(statReport.substr(at + label.size()));
}
