// The host's session, screen protocol, texts and components. The services that read or
// write the practice database are in PracticeHostData.cpp.

#include "BusyMessageControl.h"
#include "FeeHistorySchema.h"
#include "NotesComponent.h"
#include "TextEntryDialog.h"

#include <tqhost/PracticeHost.h>
#include <tqhost/Schema.h>
#include <tqhost/SqlDialect.h>
#include <tqplatform/Connection.h>
#include <tqplatform/ui.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tqhost {

namespace {

QString withSeparator(const QString& folder) {
    if (folder.isEmpty()) {
        return folder;
    }
    QString path = QDir::toNativeSeparators(QDir::cleanPath(folder));
    if (!path.endsWith(QDir::separator())) {
        path += QDir::separator();
    }
    return path;
}

}  // namespace

PracticeHost::PracticeHost(std::shared_ptr<tqplatform::Connection> connection,
                           const QString& dataPath, const QString& user, QObject* parent)
    : QObject(parent),
      m_connection(std::move(connection)),
      m_dataPath(withSeparator(QDir(dataPath).absolutePath())),
      m_programFolder(withSeparator(QCoreApplication::applicationDirPath())),
      m_userName(user) {}

PracticeHost::~PracticeHost() = default;

void PracticeHost::setCurrentUser(const QString& name, int32_t id) {
    m_userName = name;
    m_userId = id;
    schema::setFeeHistoryUser(*m_connection, name);
}

void PracticeHost::setProgramFolder(const QString& folder) {
    m_programFolder = withSeparator(folder);
}

void PracticeHost::addTextColumnNames(const QStringList& names) {
    for (const QString& name : names) {
        const QString lower = name.trimmed().toLower();
        if (!lower.isEmpty() && !m_extraTextColumns.contains(lower)) {
            m_extraTextColumns << lower;
        }
    }
}

bool PracticeHost::FileExists(const QString& path) {
    if (path.trimmed().isEmpty()) {
        return false;
    }
    if (QFileInfo(path).isFile()) {
        return true;
    }
    // A stored path may carry the other platform's separators.
    const QString slashed = QString(path).replace(u'\\', u'/');
    return slashed != path && QFileInfo(slashed).isFile();
}

QString PracticeHost::ParseField(const QString& text, const QString& delimiter, int n,
                                 int16_t /*flag*/) {
    if (n < 1) {
        return {};
    }
    if (delimiter.isEmpty() || !text.contains(delimiter)) {
        return n <= 2 ? text : QString();
    }
    const QStringList fields = text.split(delimiter);
    return n <= fields.size() ? fields.at(n - 1) : QString();
}

QString PracticeHost::InputBoxText(const QString& title, const QString& prompt,
                                   const QString& defaultText) {
    return tqplatform::ui::inputBox(prompt, title, defaultText);
}

QString PracticeHost::SqlText(const QString& value) {
    return sqlTextLiteral(value);
}

QString PracticeHost::GetScopeFilter(const QString& table) {
    const QString name = table.trimmed();
    const schema::Table* known = schema::findTable(name);
    if (!name.isEmpty() && (known == nullptr || !known->officeScoped)) {
        return {};
    }
    const QString office = QString::number(m_officeId);
    return QStringLiteral("(OffLocID = %1 OR OffLocID = 0 OR OffLocID IS NULL) AND ").arg(office);
}

QString PracticeHost::TranslateSql(const QString& statement, int /*mode*/) {
    const QSet<QString> extra(m_extraTextColumns.cbegin(), m_extraTextColumns.cend());
    return translateSql(statement, m_connection->kind(), extra);
}

int32_t PracticeHost::GetDatabaseKind(int32_t /*which*/) {
    return m_connection->kind() == tqplatform::DatabaseKind::SQLite ? 1 : 2;
}

void PracticeHost::RefreshHost(int16_t& value) {
    emit refreshRequested(value);
}

int16_t PracticeHost::NoteSelectedCode(QString& codeText) {
    while (codeText.endsWith(u'\r') || codeText.endsWith(u'\n')) {
        codeText.chop(1);
    }
    m_lastNotedCode = ParseField(codeText, QStringLiteral("\n"), 2, 0).trimmed();
    return m_lastNotedCode.isEmpty() ? 0 : 1;
}

QDate PracticeHost::GetDefaultDate() {
    return m_defaultDate.isValid() ? m_defaultDate : QDate::currentDate();
}

std::shared_ptr<tqGlobal::IBusyMessageControl> PracticeHost::CreateBusyMessageControl() {
    return std::make_shared<BusyMessageControl>();
}

std::shared_ptr<tqGlobal::INotesComponent> PracticeHost::CreateNotesComponent() {
    return std::make_shared<NotesComponent>(m_connection);
}

std::shared_ptr<tqGlobal::ITextEntryDialog> PracticeHost::CreateTextEntryDialog() {
    return std::make_shared<TextEntryDialog>(m_mainForm.data());
}

}  // namespace tqhost
