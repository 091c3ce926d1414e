#pragma once

namespace tqservicecode {

/// True when the window under the mouse differs from the one seen at the last call.
bool MouseMovedToNewWindow();

}  // namespace tqservicecode
