// The processor of the test module: the glue's own test processor in place of the product.
#include "formats/vst/TestGainProcessor.h"

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new kelmora::vst::test::TestGainProcessor();
}
