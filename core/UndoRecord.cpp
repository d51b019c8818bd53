#include "core/UndoRecord.h"

namespace kelmora::core
{
void UndoRecord::clear (std::uint32_t now) noexcept
{
    presetName.clear();
    normalisedValue = 0.0f;
    paramIndex = 0;
    values.clear();
    presetIndex = 0;
    stateBActive = false;
    linked = false;
    op = UndoOp::None;
    time = now;
    sealed = false;
}
} // namespace kelmora::core
