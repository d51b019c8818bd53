// The module's VST 2.4 entry points. Linux hosts look for VSTPluginMain; main_macho is the
// name older macOS hosts use.
#include "core/ProductIdentity.h"
#include "formats/vst/VstProcessorWrapper.h"

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

namespace
{
namespace id = kelmora::identity;
const kelmora::vst::VstIdentity identity { id::productName, id::makerName, int32_t (id::productCode), id::vstVersion,
                                           kPlugCategEffect };

AEffect* entry (audioMasterCallback host)
{
    return kelmora::vst::createVstEffect (host, &createPluginFilter, identity);
}
} // namespace

extern "C" __attribute__ ((visibility ("default"))) AEffect* VSTPluginMain (audioMasterCallback host)
{
    return entry (host);
}

extern "C" __attribute__ ((visibility ("default"))) AEffect* main_macho (audioMasterCallback host)
{
    return entry (host);
}
