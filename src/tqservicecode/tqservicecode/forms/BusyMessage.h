#pragma once

#include <QString>

namespace tqservicecode {

/// Shows, updates or (with an empty text) closes the please-wait message over the
/// active form. Position and size are in twips relative to that form; "//" in the text
/// starts a new line.
void ShowBusyMessage(const QString& text, int left = 0, int top = 0, int width = 4800,
                     int height = 1200, int options = 0);

}  // namespace tqservicecode
