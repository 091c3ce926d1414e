// The host services that read or write the practice database: schema and options,
// per-user settings, rights, SaveRecord and the lookups of codes, people and
// transactions. Every value travels as a bound parameter.

#include "FeeHistorySchema.h"
#include "RowWriter.h"
#include "SqlExec.h"

#include <tqglobal/Error.h>
#include <tqhost/PracticeHost.h>
#include <tqhost/Schema.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Currency.h>
#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>

#include <QMetaType>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace tqhost {

namespace {

using Internal::firstValue;
using Internal::runBound;

namespace Option {
const QString MedicalPractice = QStringLiteral("MEDICAL_PRACTICE");
const QString UseCdtDPrefix = QStringLiteral("USE_CDT_D_PREFIX");
const QString InsurancePaymentsAsChecks = QStringLiteral("INSURANCE_PAYMENTS_AS_CHECKS");
const QString UsesAlternateHelp = QStringLiteral("USES_ALTERNATE_HELP");
const QString DefaultProviderID = QStringLiteral("DEFAULT_PROVIDER_ID");
}  // namespace Option

QString flagText(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

/// A money value as the driver hands it: a number (SQLite keeps NUMERIC as a real) or
/// decimal text (PostgreSQL).
tqplatform::Currency moneyOf(const QVariant& value) {
    if (value.isNull()) {
        return {};
    }
    const int type = value.metaType().id();
    if (type == QMetaType::Double || type == QMetaType::Float) {
        return tqplatform::Currency::fromDouble(value.toDouble());
    }
    return tqplatform::Currency::parse(value.toString()).value_or(tqplatform::Currency{});
}

/// A text as one field of a line: trimmed, line breaks made blanks.
QString lineField(const QString& value) {
    QString text = value;
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    return text.trimmed();
}

/// A description as one field of a line, without the trademark marker "*TM*" and what
/// follows it.
QString descriptionField(const QString& description) {
    QString text = description;
    const qsizetype marker = text.indexOf(QStringLiteral("*TM*"), 0, Qt::CaseInsensitive);
    if (marker >= 0) {
        text.truncate(marker);
    }
    return lineField(text);
}

std::optional<QDate> storedDate(const QVariant& value) {
    const QString text = value.toString().trimmed();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const QDate iso = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    if (iso.isValid()) {
        return iso;
    }
    const std::optional<QDateTime> other = tqplatform::vb::CDate(text);
    if (other.has_value() && other->isValid()) {
        return other->date();
    }
    return std::nullopt;
}

}  // namespace

void PracticeHost::ensureSchema() {
    schema::ensureSchema(*m_connection);
    schema::setFeeHistoryUser(*m_connection, m_userName);
    loadOptions();
}

void PracticeHost::loadOptions() {
    QSqlQuery query =
        runBound(*m_connection, QStringLiteral("SELECT optName, optValue FROM PracticeOption"));
    while (query.next()) {
        const QString name = query.value(0).toString().toUpper();
        const QString value = query.value(1).toString().trimmed();
        if (name == Option::MedicalPractice) {
            m_medicalPractice = value == QStringLiteral("1");
        } else if (name == Option::UseCdtDPrefix) {
            m_useCdtDPrefix = value == QStringLiteral("1");
        } else if (name == Option::InsurancePaymentsAsChecks) {
            m_insurancePaymentsAsChecks = value == QStringLiteral("1");
        } else if (name == Option::UsesAlternateHelp) {
            m_usesAlternateHelp = value == QStringLiteral("1");
        } else if (name == Option::DefaultProviderID) {
            m_defaultProviderId = value.toInt();
        }
    }
}

void PracticeHost::saveOption(const QString& name, const QString& value) {
    runBound(*m_connection,
             QStringLiteral("INSERT INTO PracticeOption (optName, optValue) VALUES (?, ?) "
                            "ON CONFLICT (optName) DO UPDATE SET optValue = excluded.optValue"),
             {name, value});
}

void PracticeHost::setMedicalPractice(bool medical) {
    saveOption(Option::MedicalPractice, flagText(medical));
    m_medicalPractice = medical;
}

void PracticeHost::setUseCdtDPrefix(bool use) {
    saveOption(Option::UseCdtDPrefix, flagText(use));
    m_useCdtDPrefix = use;
}

void PracticeHost::setInsurancePaymentsAsChecks(bool asChecks) {
    saveOption(Option::InsurancePaymentsAsChecks, flagText(asChecks));
    m_insurancePaymentsAsChecks = asChecks;
}

void PracticeHost::setUsesAlternateHelp(bool alternate) {
    saveOption(Option::UsesAlternateHelp, flagText(alternate));
    m_usesAlternateHelp = alternate;
}

void PracticeHost::setDefaultProviderID(int32_t providerId) {
    saveOption(Option::DefaultProviderID, QString::number(providerId));
    m_defaultProviderId = providerId;
}

void PracticeHost::grantRight(const QString& user, const QString& right) {
    runBound(*m_connection,
             QStringLiteral("INSERT INTO UserRight (urUser, urRight) VALUES (?, ?) "
                            "ON CONFLICT (urUser, urRight) DO NOTHING"),
             {user.trimmed(), right.trimmed()});
}

void PracticeHost::revokeRight(const QString& user, const QString& right) {
    runBound(*m_connection,
             QStringLiteral("DELETE FROM UserRight WHERE urUser = ? AND urRight = ?"),
             {user.trimmed(), right.trimmed()});
}

bool PracticeHost::UserHasRight(const QString& user, const QString& right) {
    if (user.trimmed().isEmpty() || right.trimmed().isEmpty()) {
        return false;
    }
    const QVariant count = firstValue(
        *m_connection,
        QStringLiteral("SELECT COUNT(*) FROM UserRight WHERE urUser = ? AND urRight = ?"),
        {user.trimmed(), right.trimmed()});
    return count.toLongLong() > 0;
}

QString PracticeHost::GetUserSetting(const QString& section, const QString& key, int16_t /*flag*/,
                                     const QString& defaultValue) {
    const QVariant value = firstValue(
        *m_connection,
        QStringLiteral("SELECT usrValue FROM UserSetting WHERE usrSection = ? AND usrKey = ?"),
        {section, key});
    return value.isValid() && !value.isNull() ? value.toString() : defaultValue;
}

void PracticeHost::SaveUserSetting(const QString& section, const QString& key, int16_t /*flag*/,
                                   const QString& value) {
    // No text column keeps a NUL character, and dropping it would store another text than
    // the one given (and read back "AB" for "A\0B"): the setting is refused, and the one
    // stored before stays.
    for (const QString* text : {&section, &key, &value}) {
        if (text->contains(QChar(u'\0'))) {
            constexpr long InvalidArgument = 5;
            throw tqGlobal::Error(
                InvalidArgument,
                QStringLiteral("The setting %1 was not saved: a setting cannot "
                               "hold a NUL character.")
                    .arg(QString(key).replace(QChar(u'\0'), QLatin1String("\\0"))));
        }
    }
    QString kept = value;
    if (kept.isNull()) {
        kept = QStringLiteral("");  // an empty setting is stored as such, not as no setting
    }
    runBound(*m_connection,
             QStringLiteral("INSERT INTO UserSetting (usrSection, usrKey, usrValue) "
                            "VALUES (?, ?, ?) ON CONFLICT (usrSection, usrKey) "
                            "DO UPDATE SET usrValue = excluded.usrValue"),
             {section, key, kept});
}

double PracticeHost::GetUserSettingNumber(const QString& key, double defaultValue) {
    const QVariant value = firstValue(
        *m_connection, QStringLiteral("SELECT usnValue FROM UserSettingNumber WHERE usnKey = ?"),
        {key});
    return value.isValid() && !value.isNull() ? value.toDouble() : defaultValue;
}

void PracticeHost::SaveUserSettingNumber(const QString& key, double value) {
    if (!std::isfinite(value)) {
        throw tqGlobal::Error(tqGlobal::ErrorNumber::Overflow,
                              QStringLiteral("The setting %1 cannot hold %2.").arg(key).arg(value));
    }
    runBound(*m_connection,
             QStringLiteral("INSERT INTO UserSettingNumber (usnKey, usnValue) VALUES (?, ?) "
                            "ON CONFLICT (usnKey) DO UPDATE SET usnValue = excluded.usnValue"),
             {key, value});
}

void PracticeHost::SaveRecord(int /*mode*/, const QString& table, const QString& keyField,
                              int32_t& key, const QStringList& names, const QStringList& values,
                              bool /*flag*/, int16_t& success) {
    success = 0;
    const Internal::WriteResult result =
        Internal::writeRow(*m_connection, table, keyField, key, names, values);
    if (result.written()) {
        success = 1;
        return;
    }
    tqplatform::ui::msgBox(result.message, tqplatform::ui::Buttons::Information);
}

int PracticeHost::feeScheduleOfPatient(int32_t patientId) {
    if (patientId == 0) {
        return 1;
    }
    QSqlQuery query =
        runBound(*m_connection,
                 QStringLiteral("SELECT pGPDenFeeTyp, pGPDenFeeTypPerm FROM PaTable WHERE pID = ?"),
                 {patientId});
    if (!query.next()) {
        return 1;
    }
    const int feeType = query.value(0).toInt();
    const int standing = query.value(1).toInt();
    const int chosen = IsValidFeeType(static_cast<int16_t>(feeType)) ? feeType : 1;
    return IsValidFeeType(static_cast<int16_t>(standing)) ? standing : chosen;
}

bool PracticeHost::AcceptSelectedCode(const QString& itemText, bool isId, QString& returnText) {
    returnText.clear();
    const QString item = itemText.trimmed();
    if (item.isEmpty()) {
        return false;
    }
    const QString columns = QStringLiteral(
        "SELECT SevCodID, SevCodCod, SevCodDes, SevCodFee1, SevCodFee2, SevCodFee3, SevCodFee4 "
        "FROM SevCodTable WHERE ");
    QSqlQuery query = [&] {
        if (isId) {
            bool number = false;
            const int id = item.toInt(&number);
            return runBound(*m_connection, columns + QStringLiteral("SevCodID = ?"),
                            {number ? id : -1});
        }
        // The code itself before an office code that happens to read the same.
        return runBound(*m_connection,
                        columns + GetScopeFilter(QStringLiteral("SevCodTable")) +
                            QStringLiteral("(SevCodCod = ? OR SevCodOffCod = ?) ORDER BY "
                                           "CASE WHEN SevCodCod = ? THEN 0 ELSE 1 END, SevCodID"),
                        {item, item, item});
    }();
    if (!query.next()) {
        return false;
    }
    const int feeSchedule = feeScheduleOfPatient(m_patientId);
    tqplatform::Currency fee = moneyOf(query.value(2 + feeSchedule));
    if (fee.isNegative()) {
        fee = {};
    }
    const QChar lf(u'\n');
    returnText = QString::number(query.value(0).toLongLong()) + lf +
                 lineField(query.value(1).toString()) + lf +
                 descriptionField(query.value(2).toString()) + lf +
                 tqplatform::vb::Format(fee, QStringLiteral("0.00"));
    return true;
}

QString PracticeHost::GetProviderInitials(int32_t personId) {
    const QVariant initials = firstValue(
        *m_connection, QStringLiteral("SELECT pDocIni FROM PaTable WHERE pID = ?"), {personId});
    return initials.toString().trimmed();
}

QList<QDate> PracticeHost::GetPatientTxDates(int32_t patientId) {
    QSqlQuery query = runBound(
        *m_connection, QStringLiteral("SELECT DISTINCT traStaDat FROM DTTable WHERE trapID = ?"),
        {patientId});
    QSet<QDate> seen;
    while (query.next()) {
        if (const std::optional<QDate> date = storedDate(query.value(0)); date.has_value()) {
            seen.insert(*date);
        }
    }
    QList<QDate> dates(seen.cbegin(), seen.cend());
    std::sort(dates.begin(), dates.end());
    return dates;
}

}  // namespace tqhost
