#include "tools/vsthost/VstPluginModule.h"

#include <dlfcn.h>

namespace kelmora::tools
{
std::unique_ptr<VstPluginModule> VstPluginModule::load (const std::string& path, std::string& error)
{
    void* handle = ::dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL);

    if (handle == nullptr)
    {
        const char* message = ::dlerror();
        error = message != nullptr ? message : ("cannot load " + path);
        return nullptr;
    }

    auto main = reinterpret_cast<VstPluginMainProc> (::dlsym (handle, "VSTPluginMain"));

    if (main == nullptr)
    {
        error = path + " has no VSTPluginMain";
        ::dlclose (handle);
        return nullptr;
    }

    return std::unique_ptr<VstPluginModule> (new VstPluginModule (handle, main, path));
}

VstPluginModule::VstPluginModule (void* h, VstPluginMainProc m, std::string p)
    : handle (h), main (m), modulePath (std::move (p))
{
}

VstPluginModule::~VstPluginModule()
{
    ::dlclose (handle);
}

void* VstPluginModule::symbol (const char* name) const
{
    return ::dlsym (handle, name);
}
} // namespace kelmora::tools
