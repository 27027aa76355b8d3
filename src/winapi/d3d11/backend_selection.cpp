// The back end is chosen by HALVO_D3D11_BACKEND: a list of names separated
// by ',', tried in order; "memory" when the variable is unset or names
// nothing that starts.
#include <cstdlib>
#include <sstream>
#include <string>

#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/hooks.h"
#include "winapi/d3d11/memory/memory_backend.h"
#include "winapi/d3d11/vulkan/vulkan_backend.h"

namespace halvo::d3d11 {

std::shared_ptr<Backend> CreateConfiguredBackend()
{
    const char* setting = std::getenv("HALVO_D3D11_BACKEND");
    std::istringstream names(setting == nullptr ? "" : setting);
    std::string name;
    while (std::getline(names, name, ',')) {
        if (name == "memory") return memory::CreateMemoryBackend();
        if (name == "vulkan") {
            if (auto backend = vulkan::CreateVulkanBackend()) return backend;
            continue;
        }
        hooks::LogMessage("D3D11 WARNING: HALVO_D3D11_BACKEND names \"" + name + "\", which is not a back end here.");
    }
    return memory::CreateMemoryBackend();
}

}  // namespace halvo::d3d11
