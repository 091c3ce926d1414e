#include <tqservicecode/patient/RelatedNotes.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/forms/MainForm.h>

#include <exception>

namespace tqservicecode {

bool EnterRelatedNote(int32_t Pid, int32_t TraID, const QString& NoteText) {
    std::shared_ptr<tqGlobal::INotesComponent> notes;
    bool created = false;
    bool stored = false;
    // A note is a courtesy to the posting: nothing that goes wrong here stops it.
    try {
        tqGlobal::IHostServices& gic = GIC();
        notes = gic.MainFormNotes();
        if (!notes) {
            notes = gic.CreateNotesComponent();
            created = true;
        }
        if (!notes) {
            return false;
        }
        const int32_t userId = gic.GetCurrentUserID();
        notes->Prepare(userId, userId == 0 ? gic.GetCurrentUser() : QString(), MainForm(), 0,
                       gic.GetOfficeLocationID());
        stored = notes->EnterNote(Pid, NoteText, QString(), TraID, 0, 0, QString()) != 0;
    } catch (const std::exception&) {
        stored = false;
    }
    if (created && notes) {
        try {
            notes->Close();
        } catch (const std::exception&) {
        }
    }
    return stored;
}

QString PromptForText(int16_t Flag, const QString& DefaultText, const QString& Caption,
                      const QString& Label, const QString& Prompt, const QString& Identifier,
                      int32_t Number, int16_t A, int16_t B, QWidget* Owner) {
    std::shared_ptr<tqGlobal::ITextEntryDialog> dialog = GIC().CreateTextEntryDialog();
    if (!dialog) {
        return {};
    }
    QString out1;
    QString out2;
    QString out3;
    return dialog->Enter(Flag, DefaultText, Caption, Label, Prompt, Identifier, Number, A, B, Owner,
                         out1, out2, out3);
}

}  // namespace tqservicecode
