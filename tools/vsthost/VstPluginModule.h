#pragma once

#include "platform/vst/VstInterface.h"

#include <memory>
#include <string>

namespace kelmora::tools
{
/** A VST 2.4 plug-in module loaded from a path with dlopen(RTLD_NOW): every symbol the module
    needs is resolved at load time, so a module with a missing dependency fails here and not in
    the middle of processing. The module is unloaded when the object goes; every effect created
    from it must be closed before that. */
class VstPluginModule
{
public:
    /** Loads the module; returns null and fills error when it cannot be loaded or has no entry point. */
    static std::unique_ptr<VstPluginModule> load (const std::string& path, std::string& error);

    ~VstPluginModule();

    VstPluginModule (const VstPluginModule&) = delete;
    VstPluginModule& operator= (const VstPluginModule&) = delete;

    VstPluginMainProc entryPoint() const noexcept { return main; }
    /** Looks up any other exported symbol (null when absent). */
    void* symbol (const char* name) const;
    const std::string& path() const noexcept { return modulePath; }

private:
    VstPluginModule (void* handle, VstPluginMainProc main, std::string path);

    void* handle;
    VstPluginMainProc main;
    std::string modulePath;
};
} // namespace kelmora::tools
