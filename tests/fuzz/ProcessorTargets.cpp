// The processor's own readers: the state block, "global.conf" and the user-preset file.
#include "core/SettingsFile.h"
#include "fuzz/FuzzTargets.h"
#include "fuzz/ProcessorChecks.h"

#include <cmath>
#include <memory>

namespace quietline::fuzz
{
namespace
{
// At 96 kHz the filter runs, so processing exercises the design the state asked for.
constexpr double rate = 96000.0;
constexpr int block = 256;

juce::MemoryBlock stateOf (Processor& p)
{
    juce::MemoryBlock b;
    p.getStateInformation (b);
    return b;
}

} // namespace

std::unique_ptr<Processor> prepared()
{
    sharedHome();
    auto p = std::make_unique<Processor>();
    p->setPlayConfigDetails (2, 2, rate, block);
    p->prepareToPlay (rate, block);
    return p;
}

namespace
{
void requireInRange (const kelmora::core::ParamList& list)
{
    for (int i = 0; i < list.getCount(); ++i)
    {
        const auto* param = list.getParam (i);
        const double v = param->getValue();
        require (std::isfinite (v) && v >= param->getMinimum() && v <= param->getMaximum(), "parameter value finite and in range");
        const float n = param->getNormalisedValue();
        require (std::isfinite (n) && n >= 0.0f && n <= 1.0f, "normalised parameter finite and within 0..1");
    }
}

} // namespace

void requireSound (Processor& p, Processor& other)
{
    requireInRange (p.getParamManager());
    requireInRange (p.getGlobalSettings());
    for (int i = 0; i < p.getNumPrograms(); ++i)
        require (p.getProgramName (i).isNotEmpty(), "every program has a name");

    const auto saved = stateOf (p);
    other.setStateInformation (saved.getData(), (int) saved.getSize());
    require (stateOf (other) == saved, "a saved state reads back identical in another instance");
    for (int i = 0; i < p.getParamManager().getCount(); ++i)
        require (other.getParamManager().getParam (i)->getValue() == p.getParamManager().getParam (i)->getValue(),
                 "another instance restores every value");
    p.setStateInformation (saved.getData(), (int) saved.getSize());
    require (stateOf (p) == saved, "a saved state reads back identical in the same instance");

    juce::AudioBuffer<float> buffer (2, block);
    juce::Random random (1);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < block; ++i)
            buffer.setSample (c, i, random.nextFloat() * 2.0f - 1.0f);
    juce::MidiBuffer midi;
    p.processBlock (buffer, midi);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < block; ++i)
            require (std::isfinite (buffer.getSample (c, i)), "processing gives finite output");
}

namespace
{
void writeSettingsFile (const juce::String& name, const uint8_t* data, size_t size)
{
    kelmora::core::SettingsFile::ensureFolder();
    kelmora::core::SettingsFile::getFile (name).replaceWithData (data, size);
}

/** A new processor reading the file, checked against a second one reading what it left. */
void readByNewProcessor (const juce::String& name, const uint8_t* data, size_t size)
{
    sharedHome();
    writeSettingsFile (name, data, size);
    auto first = prepared();
    auto second = prepared();
    requireSound (*first, *second);
    for (int i = 0; i < first->getNumPrograms(); ++i)
        require (first->getProgramName (i) == second->getProgramName (i), "a second instance lists the same programs");
    for (int i = 0; i < first->getGlobalSettings().getCount(); ++i)
        require (first->getGlobalSettings().getParam (i)->getIntValue() == second->getGlobalSettings().getParam (i)->getIntValue(),
                 "a second instance reads the same settings");
}
} // namespace

void processorState (const uint8_t* data, size_t size)
{
    static const auto target = prepared();
    static const auto other = prepared();
    target->setStateInformation (data, (int) size);
    requireSound (*target, *other);
}

void globalSettingsFile (const uint8_t* data, size_t size) { readByNewProcessor ("global.conf", data, size); }

void userPresetFile (const uint8_t* data, size_t size) { readByNewProcessor (Processor::userPresetFileName(), data, size); }
} // namespace quietline::fuzz
