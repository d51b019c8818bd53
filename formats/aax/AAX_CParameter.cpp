#include "formats/aax/AAX_CParameter.h"

namespace kelmora::aax {

template class AAX_CParameter<float>;
template class AAX_CParameter<bool>;

} // namespace kelmora::aax
