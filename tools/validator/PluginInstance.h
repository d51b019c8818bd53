#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelmora::tools
{
/** One plug-in instance as the validator sees it, whatever the format: each format's adapter
    drives its own in-repo host behind these calls. Calls may come from several threads at once,
    as a host makes them; process() from one thread at a time. Parameter values are normalised. */
class PluginInstance
{
public:
    virtual ~PluginInstance() = default;

    virtual std::string name() = 0;
    virtual std::string vendor() = 0;
    /** The format's own codes and versions checked against the product's identity: empty when
        they match, else what differs. */
    virtual std::string identityProblems() = 0;

    virtual int numParameters() = 0;
    virtual std::string parameterName (int index) = 0;
    virtual std::string parameterText (int index) = 0;
    virtual float getParameter (int index) = 0;
    virtual void setParameter (int index, float value) = 0;

    /** 0 when the format has no programs. */
    virtual int numPrograms() = 0;
    virtual void setProgram (int index) = 0;
    virtual std::string programName (int index) = 0;

    /** Stops processing if it ran, then starts at the rate (Hz) with the largest block. */
    virtual void prepare (double rate, int maxBlock) = 0;
    /** Two channels in, two out. */
    virtual void process (const float* const* in, float* const* out, int frames) = 0;
    /** Samples, as reported now. */
    virtual int latency() = 0;
    virtual int tail() = 0;
    /** The host's bypass; false when the format has none or the plug-in refuses it. */
    virtual bool setBypass (bool on) = 0;

    virtual std::vector<uint8_t> saveState() = 0;
    virtual void restoreState (const std::vector<uint8_t>& state) = 0;

    virtual bool hasEditor() = 0;
    /** Opens the editor in a host window; false when it cannot (no display). */
    virtual bool openEditor() = 0;
    virtual void closeEditor() = 0;
};

/** Creates instances of one format from a loaded module. */
class PluginFormat
{
public:
    virtual ~PluginFormat() = default;
    virtual std::unique_ptr<PluginInstance> create() = 0;
};

/** A format the validator can drive: the module's export that tells it is there, and how to
    load it. Adding a format is one adapter and one row in formatAdapters(). */
struct FormatAdapter
{
    const char* name;
    const char* exportedSymbol;
    std::unique_ptr<PluginFormat> (*load) (const std::string& modulePath, std::string& error);
};

std::unique_ptr<PluginFormat> loadVst (const std::string& modulePath, std::string& error);
std::unique_ptr<PluginFormat> loadAax (const std::string& modulePath, std::string& error);
std::unique_ptr<PluginFormat> loadAu (const std::string& modulePath, std::string& error);

inline std::vector<FormatAdapter> formatAdapters()
{
    return { { "vst", "VSTPluginMain", loadVst }, { "au", "OrvelQuietlineAUFactory", loadAu }, { "aax", "ACFRegisterPlugin", loadAax } };
}
} // namespace kelmora::tools
