// A minimal plug-in module built on the layer alone: a stereo gain with one parameter whose
// chunk is the gain itself. It lets the loader be tested through a real dlopen.
#include "formats/vst/AudioEffectX.h"

#include <cstring>

namespace
{
class FakeGain : public kelmora::vst::AudioEffectX
{
public:
    explicit FakeGain (audioMasterCallback host) : AudioEffectX (host, 1, 1)
    {
        setNumInputs (2);
        setNumOutputs (2);
        setUniqueID (vstFourCC ('F', 'k', 'G', 'n'));
        programsAreChunks();
    }

    void processReplacing (float** in, float** out, int32_t frames) override
    {
        for (int c = 0; c < 2; ++c)
            for (int32_t i = 0; i < frames; ++i)
                out[c][i] = in[c][i] * gain;
    }

    void setParameter (int32_t index, float value) override { if (index == 0) gain = value; }
    float getParameter (int32_t index) override { return index == 0 ? gain : 0.0f; }
    void getParameterName (int32_t, char* text) override { std::strcpy (text, "Gain"); }
    bool getEffectName (char* text) override { std::strcpy (text, "Fake Gain"); return true; }

    int32_t getChunk (void** data, bool) override
    {
        chunk = gain;
        *data = &chunk;
        return sizeof (chunk);
    }

    int32_t setChunk (void* data, int32_t size, bool) override
    {
        if (size != sizeof (float))
            return 0;
        std::memcpy (&gain, data, sizeof (float));
        return 1;
    }

    bool setBypass (bool) override { return false; }

private:
    float gain = 1.0f, chunk = 0.0f;
};
} // namespace

extern "C" __attribute__ ((visibility ("default"))) AEffect* VSTPluginMain (audioMasterCallback host)
{
    if (host == nullptr || host (nullptr, hostGetVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;

    return (new FakeGain (host))->getAeffect();
}
