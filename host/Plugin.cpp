// Loading driver plug-ins and creating their objects.
#include "Plugin.h"

#include <filesystem>
#include <new>

#include "Host.h"
#include "Settings.h"

namespace lumora {

struct Plugin {
    void* library;
    CreateDisplayDeviceFunction create;
};

namespace {

bool IsPath(const std::string& s)
{
    return s.find('/') != std::string::npos || s.find('\\') != std::string::npos || s.find('.') != std::string::npos;
}

}  // namespace

Plugin* LoadPlugin(const char* nameOrPath, char* error, int errorSize)
{
    const std::string given = nameOrPath != nullptr ? nameOrPath : "";
    if (given.empty()) {
        detail::CopyTerminated("no driver named", error, errorSize);
        return nullptr;
    }
    const std::string path = IsPath(given) ? given : detail::PluginPathForName(given);
    std::error_code ignored;
    if (!IsPath(given) && !std::filesystem::exists(path, ignored)) {
        detail::CopyTerminated("unknown driver '" + given + "': there is no " + path, error, errorSize);
        return nullptr;
    }
    std::string reason;
    void* library = detail::OpenLibrary(path, reason);
    if (library == nullptr) {
        detail::CopyTerminated("cannot load driver " + path + ": " + reason, error, errorSize);
        return nullptr;
    }
    auto create = reinterpret_cast<CreateDisplayDeviceFunction>(detail::FindSymbol(library, "CreateDisplayDevice"));
    if (create == nullptr) {
        detail::CloseLibrary(library);
        detail::CopyTerminated(path + " is not a lumora driver: it has no CreateDisplayDevice", error, errorSize);
        return nullptr;
    }
    Plugin* plugin = new (std::nothrow) Plugin{library, create};
    if (plugin == nullptr) {
        detail::CloseLibrary(library);
        detail::CopyTerminated("out of memory", error, errorSize);
    }
    return plugin;
}

DisplayDevice* CreatePluginDevice(Plugin* plugin, HWND parentWindow, const char* model)
{
    return plugin != nullptr ? plugin->create(parentWindow, model) : nullptr;
}

void UnloadPlugin(Plugin* plugin)
{
    if (plugin == nullptr) return;
    detail::CloseLibrary(plugin->library);
    delete plugin;
}

}  // namespace lumora
