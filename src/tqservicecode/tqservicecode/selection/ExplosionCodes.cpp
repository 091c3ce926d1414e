#include <tqservicecode/selection/ExplosionCodes.h>

#include <tqservicecode/codes/ServiceCodeStore.h>

#include <tqplatform/ui.h>

#include <QList>

namespace tqservicecode {

namespace {

const QChar LineFeed(10);

/// Whether code stands in the chain at a level lower than level.
bool recursInChain(const QString& chain, const QString& code, int level) {
    const QStringList entries = chain.split(LineFeed, Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        const int comma = entry.lastIndexOf(QLatin1Char(','));
        if (comma < 0) {
            continue;
        }
        if (entry.left(comma).trimmed().compare(code, Qt::CaseInsensitive) == 0 &&
            entry.mid(comma + 1).toInt() < level) {
            return true;
        }
    }
    return false;
}

}  // namespace

void Expand_Explosion_Code(int32_t CodeIn, QString& Retcode, QString& RetID, int16_t& NumCode,
                           bool expandServiceCode, int16_t Level, const QString& ExplosionList) {
    if (Level == 0) {
        Retcode.clear();
        RetID.clear();
        NumCode = 0;
    }
    QString chain = ExplosionList;

    ServiceCodeRecord record;
    if (!FindServiceCodeByID(CodeIn, record)) {
        return;
    }
    const QString code = record.code();
    if (Level > 0 && recursInChain(chain, code, Level)) {
        tqplatform::ui::msgBox(QStringLiteral("One or more explosion codes link back to itself.") +
                                   QStringLiteral("\r\n") +
                                   QStringLiteral("Program will ignore recurring code [") + code +
                                   QStringLiteral("]."),
                               tqplatform::ui::Buttons::OkOnly);
        return;
    }
    chain += code + QLatin1Char(',') + QString::number(Level) + LineFeed;

    const QString description = record.description();
    if (!description.startsWith(QLatin1Char('@')) || !expandServiceCode) {
        ++NumCode;
        Retcode += code + QLatin1Char(',');
        RetID += QString::number(record.SevCodID) + QLatin1Char(',');
        return;
    }
    if (Level > 1) {
        return;  // expansion goes two levels deep at most
    }
    const QStringList members = description.mid(1).trimmed().split(QLatin1Char(','));
    for (const QString& member : members) {
        if (member.trimmed().isEmpty()) {
            break;
        }
        ServiceCodeRecord found;
        if (FindServiceCodeByCode(member, found) && found.SevCodID != CodeIn) {
            Expand_Explosion_Code(found.SevCodID, Retcode, RetID, NumCode, expandServiceCode,
                                  static_cast<int16_t>(Level + 1), chain);
        }
    }
}

QList<int32_t> expandedIds(const QString& retID) {
    QList<int32_t> ids;
    for (const QString& id : retID.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        ids.append(id.toInt());
    }
    return ids;
}

}  // namespace tqservicecode
