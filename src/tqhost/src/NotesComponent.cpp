#include "NotesComponent.h"

#include "RowWriter.h"

#include <tqglobal/Error.h>
#include <tqplatform/TextWidth.h>

#include <QDateTime>

namespace tqhost {

NotesComponent::NotesComponent(std::shared_ptr<tqplatform::Connection> connection)
    : m_connection(std::move(connection)) {}

void NotesComponent::Prepare(int32_t userId, const QString& userText, QWidget* owner,
                             int32_t /*value*/, int32_t officeId) {
    m_userId = userId;
    m_userText = userText;
    m_owner = owner;
    m_officeId = officeId;
}

int32_t NotesComponent::EnterNote(int32_t patientId, const QString& noteText, const QString& header,
                                  int32_t transactionId, int16_t mode, int16_t /*value*/,
                                  const QString& kind) {
    m_lastError.clear();
    if (m_closed || !m_connection) {
        m_lastError = QStringLiteral("The notes component is closed.");
        return 0;
    }
    const QStringList names = {QStringLiteral("notPatID"),    QStringLiteral("notTraID"),
                               QStringLiteral("notText"),     QStringLiteral("notHeader"),
                               QStringLiteral("notKind"),     QStringLiteral("notMode"),
                               QStringLiteral("notUser"),     QStringLiteral("notUserID"),
                               QStringLiteral("notOffLocID"), QStringLiteral("notCreated")};
    const QStringList values = {
        QString::number(patientId),
        QString::number(transactionId),
        noteText,
        tqplatform::leftCharacters(header, 255),
        tqplatform::leftCharacters(kind, 50),
        QString::number(mode),
        tqplatform::leftCharacters(m_userText, 50),
        QString::number(m_userId),
        QString::number(m_officeId),
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))};
    int32_t key = 0;
    try {
        const Internal::WriteResult result =
            Internal::writeRow(*m_connection, QStringLiteral("NoteTable"), QStringLiteral("notID"),
                               key, names, values);
        if (!result.written()) {
            m_lastError = result.message;
            return 0;
        }
    } catch (const tqGlobal::Error& error) {
        m_lastError = error.description();
        return 0;
    }
    return key;
}

void NotesComponent::Close() {
    m_closed = true;
    m_owner = nullptr;
}

}  // namespace tqhost
