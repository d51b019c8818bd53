#pragma once

// Pointer input for an editor embedded in a host window, sent as the X server would send it.
#include "tools/aaxhost/HostWindow.h"

namespace kelmora::tools::test
{
/** The editor's own window inside the host's (the host window itself when it has no child). */
unsigned long editorWindowIn (const HostWindow& host);

/** A press at `from`, a move with the button held to `to` and the release there. */
void dragInEditor (const HostWindow& host, int fromX, int fromY, int toX, int toY);

/** A press and release of the first button at one point. */
void clickInEditor (const HostWindow& host, int x, int y);
} // namespace kelmora::tools::test
