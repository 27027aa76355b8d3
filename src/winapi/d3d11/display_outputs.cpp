#include "winapi/d3d11/display_outputs.h"

#include <algorithm>
#include <string>
#include <tuple>

#include "winapi/user/native_window.h"

namespace halvo::d3d11 {

namespace {

constexpr UINT kUnknownRefreshRate = 60;  // what a screen that names none is taken to run at

}  // namespace

std::vector<OutputInfo> DisplayOutputs()
{
    std::vector<OutputInfo> outputs;
    const int displays = HVU_GetDisplayCount();
    for (int display = 0; display < displays; ++display) {
        OutputInfo output;
        output.name = L"\\\\.\\DISPLAY" + std::to_wstring(display + 1);
        if (!HVU_GetDisplayBounds(display, &output.desktop)) continue;
        std::vector<HVU_DisplayMode> modes(size_t(HVU_GetDisplayModes(display, nullptr, 0)));
        modes.resize(
            size_t(std::min(HVU_GetDisplayModes(display, modes.data(), int(modes.size())), int(modes.size()))));
        for (const HVU_DisplayMode& mode : modes) {
            if (mode.width <= 0 || mode.height <= 0) continue;
            const UINT rate = mode.refreshRate > 0 ? UINT(mode.refreshRate) : kUnknownRefreshRate;
            output.modes.push_back({UINT(mode.width), UINT(mode.height), {rate, 1}});
        }
        const auto key = [](const DisplayMode& mode) {
            return std::make_tuple(mode.width, mode.height, mode.refreshRate.Numerator);
        };
        std::sort(output.modes.begin(), output.modes.end(),
                  [&](const DisplayMode& a, const DisplayMode& b) { return key(a) < key(b); });
        output.modes.erase(std::unique(output.modes.begin(), output.modes.end(),
                                       [&](const DisplayMode& a, const DisplayMode& b) { return key(a) == key(b); }),
                           output.modes.end());
        outputs.push_back(std::move(output));
    }
    return outputs;
}

}  // namespace halvo::d3d11
