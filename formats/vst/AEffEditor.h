#pragma once

#include "platform/vst/VstInterface.h"

namespace kelmora::vst
{
/** The editor interface the dispatchers drive when an editor object is attached to an
    AudioEffect. Every operation answers "not handled" unless a derived editor overrides it. */
class AEffEditor
{
public:
    virtual ~AEffEditor() = default;

    virtual bool getRect (ERect** rect) { return false; }
    virtual bool open (void* parentWindow) { return false; }
    virtual void close() {}
    virtual void idle() {}
    virtual bool onKeyDown (VstKeyCode& keyCode) { return false; }
    virtual bool onKeyUp (VstKeyCode& keyCode) { return false; }
    virtual bool setKnobMode (int32_t mode) { return false; }
};
} // namespace kelmora::vst
