// The module's AAX entry points are the AAX library's ACF exports; what they describe is the
// product, installed here when the module loads.
#include "formats/aax/AAX_Exports.h"
#include "formats/aax/AaxPluginDescription.h"

namespace
{
const auto replacedRoutine = kelmora::aax::SetEffectDescriptionRoutine (&kelmora::aax::describePlugin);
} // namespace
