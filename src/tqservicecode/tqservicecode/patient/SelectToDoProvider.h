#pragma once

#include <cstdint>

namespace tqservicecode {

/// Shows the employee list titled "Select a ToDoList Provider" over the host's main
/// window and answers the chosen person's ID (the host's SelectedID), 0 when the user
/// closed the list.
int32_t SelectToDoProvider();

}  // namespace tqservicecode
