#pragma once

class QWidget;

namespace tqservicecode {

/// Places a form in the middle of its screen, never above or left of its edge; a
/// minimised or maximised form is left as it is. The flag is kept for callers that
/// pass it and changes nothing.
void CenterForm(QWidget* form, int flag = 0);

}  // namespace tqservicecode
