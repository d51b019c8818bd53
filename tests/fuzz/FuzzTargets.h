#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace quietline::fuzz
{
/** A fuzz target: hands untrusted bytes to one reader, then checks what must hold after any
    input (values finite and in range, a state saved afterwards reads back identical, finite
    output). Targets keep their instances between calls and share one temporary HOME; any
    thread, one call at a time. */
using Target = void (*) (const uint8_t* data, size_t size);

/** The processor's state block (setStateInformation). */
void processorState (const uint8_t* data, size_t size);
/** "global.conf", read by a new processor. */
void globalSettingsFile (const uint8_t* data, size_t size);
/** The user-preset file, read by a new processor. */
void userPresetFile (const uint8_t* data, size_t size);
/** The bounded XML reader itself. */
void xmlReader (const uint8_t* data, size_t size);
/** Locale-free number text. */
void numberText (const uint8_t* data, size_t size);
/** Typed parameter text, for every parameter and setting of the product. */
void parameterText (const uint8_t* data, size_t size);
/** The VST 2.4 bank and program chunk, through the built module's dispatcher. */
void vstChunk (const uint8_t* data, size_t size);
/** The AAX "Complete Controls State" chunk, through the built module in the reference AAX host. */
void aaxControlsChunk (const uint8_t* data, size_t size);
/** The AAX processor-state chunk, likewise. */
void aaxStateChunk (const uint8_t* data, size_t size);
/** The Audio Unit class-info dictionary, through the built module in the reference Audio Unit
    host: a saved dictionary with entries replaced or added as the input says. */
void auClassInfo (const uint8_t* data, size_t size);
/** The state text pasted into the editor. */
void pastedStateText (const uint8_t* data, size_t size);

struct NamedTarget
{
    const char* name;   ///< also the corpus folder and the fuzzer's name (fuzz_<name>)
    Target run;
};

inline constexpr NamedTarget allTargets[] = {
    { "processorState", processorState }, { "globalSettingsFile", globalSettingsFile },
    { "userPresetFile", userPresetFile }, { "xmlReader", xmlReader }, { "numberText", numberText },
    { "parameterText", parameterText }, { "vstChunk", vstChunk }, { "aaxControlsChunk", aaxControlsChunk },
    { "aaxStateChunk", aaxStateChunk }, { "auClassInfo", auClassInfo },
    { "pastedStateText", pastedStateText },
};

/** Reports a broken invariant. The default handler prints it and aborts, so libFuzzer keeps the
    input; the corpus runner records a test failure instead. */
void require (bool ok, const char* what);
void setFailureHandler (void (*handler) (const char* what));

/** Requires finite output from `process` given a 256-frame tone on two channels. */
void requireFiniteOutput (const std::function<std::vector<std::vector<float>> (std::vector<std::vector<float>>)>& process);

/** Creates the temporary HOME every target shares, once per process, and returns its path. */
const char* sharedHome();
} // namespace quietline::fuzz
