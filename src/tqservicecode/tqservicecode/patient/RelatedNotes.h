#pragma once

#include <QString>

#include <cstdint>

class QWidget;

namespace tqservicecode {

/// Hands a note related to a posted item to the host's notes component: the one of the
/// host's main window, or a new one (closed and released afterwards) when the window has
/// none. True when the component reports the note stored; any failure answers false.
bool EnterRelatedNote(int32_t Pid, int32_t TraID, const QString& NoteText);

/// Asks the host's text-entry dialog for a text; "" when cancelled.
QString PromptForText(int16_t Flag, const QString& DefaultText, const QString& Caption,
                      const QString& Label, const QString& Prompt, const QString& Identifier,
                      int32_t Number, int16_t A, int16_t B, QWidget* Owner = nullptr);

}  // namespace tqservicecode
