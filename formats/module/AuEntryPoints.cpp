// The module's Audio Unit entry points: the factory that newer hosts call once per instance, and
// the Component Manager entry of older ones. Both build the same unit around the product.
#include "formats/au/AUPlugInDispatch.h"
#include "formats/au/ProcessorAudioUnit.h"

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

namespace
{
class ProductAudioUnit : public kelmora::au::ProcessorAudioUnit
{
public:
    explicit ProductAudioUnit (AudioComponentInstance instance) : ProcessorAudioUnit (instance, &createPluginFilter) {}
};

using Entry = kelmora::au::AUComponentEntry<ProductAudioUnit>;
} // namespace

extern "C" __attribute__ ((visibility ("default"))) AudioComponentPlugInInterface*
    OrvelQuietlineAUFactory (const AudioComponentDescription* description)
{
    return Entry::Factory (description);
}

extern "C" __attribute__ ((visibility ("default"))) OSStatus OrvelQuietlineAUEntry (ComponentParameters* params, void* storage)
{
    return Entry::Entry (params, storage);
}
