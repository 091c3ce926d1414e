#pragma once

#include <tqglobal/IHostServices.h>

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

namespace tqplatform {
class Connection;
}

namespace tqhost {

/// The practice's notes: each note is a row of NoteTable for a patient and, when it
/// belongs to one, a transaction, with who wrote it, where and when.
class NotesComponent : public tqGlobal::INotesComponent {
public:
    explicit NotesComponent(std::shared_ptr<tqplatform::Connection> connection);

    /// Who writes the next notes: the user's id (0 when the practice numbers no users)
    /// or else the user's text, the owner window, and the office.
    void Prepare(int32_t userId, const QString& userText, QWidget* owner, int32_t value,
                 int32_t officeId) override;
    /// Stores a note; answers its NoteTable id, or 0 when it was not stored (after Close,
    /// or when the database fails). Never throws.
    int32_t EnterNote(int32_t patientId, const QString& noteText, const QString& header,
                      int32_t transactionId, int16_t mode, int16_t value,
                      const QString& kind) override;
    /// Ends the component's use: later notes are refused.
    void Close() override;

    bool isClosed() const { return m_closed; }
    /// Why the last note was not stored ("" when it was).
    QString lastError() const { return m_lastError; }

private:
    std::shared_ptr<tqplatform::Connection> m_connection;
    int32_t m_userId = 0;
    QString m_userText;
    QPointer<QWidget> m_owner;
    int32_t m_officeId = 0;
    bool m_closed = false;
    QString m_lastError;
};

}  // namespace tqhost
