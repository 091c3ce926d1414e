#pragma once

#include <QString>

#include <array>
#include <cstdint>

/// The picker's 27 category buttons and the rules that enable them.
namespace tqservicecode::picker {

inline constexpr int ButtonCount = 27;
inline constexpr int AllButton = 23;
inline constexpr int ToDoListButton = 20;
inline constexpr int FallbackButton = 26;

struct CategoryButton {
    QString caption;
    /// The stored category name the code list query uses; "" for "All".
    QString category;
    /// "1 - Charge", "2 - Credit", "3 - Admin" or "" (all types).
    QString type;
};

/// The buttons by index.
const std::array<CategoryButton, ButtonCount>& categoryButtons();

using EnabledButtons = std::array<bool, ButtonCount>;

/// Applies a caller's button mask to the buttons as the picker set them up:
/// 256 leaves only "To Do List"; 0 and 63 or more change nothing; any other value
/// disables "All" and every group whose bit is clear (bit 1 dental categories, 2 CPT/ICD,
/// 4 credits, 8 reimburse/NSF/refund, 16 to-do/letter/silent, 32 tax).
void applyShowFlag(int16_t showFlag, EnabledButtons& enabled);

/// The mask as it is passed on after use: 63 or more becomes 0.
int16_t normalisedShowFlag(int16_t showFlag);

/// The first button whose caption matches the category (trimmed, any case); the
/// fallback button when none does.
int buttonForCategory(const QString& category);

/// The chosen button, or when it is disabled the lowest enabled one (the chosen one when
/// none is enabled).
int startingButton(int chosen, const EnabledButtons& enabled);

/// The sort clause of a category's code list.
QString sortClauseFor(const QString& category);

}  // namespace tqservicecode::picker
