#include <tqservicecode/reference/CodeSearchQueries.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/reference/ReferenceQueries.h>

#include <tqplatform/Vb.h>

namespace tqservicecode::codesearch {

namespace {

/// For a text that reads as a code, the codes that hold it once their points are left
/// out on both sides: "K029" finds "K02.9" and "K02.9" finds "K029".
QString codeFormCondition(const QString& text) {
    if (!reference::looksLikeCode(text)) {
        return {};
    }
    tqGlobal::IHostServices& gic = GIC();
    const QString quoted =
        gic.SqlText(QLatin1Char('%') + reference::compactCode(text) + QLatin1Char('%'));
    const QString point = gic.SqlText(QStringLiteral("."));
    return QStringLiteral(" or (Replace(sevcodTable.sevcodCod, ") + point +
           QStringLiteral(", '') like ") + quoted +
           QStringLiteral(") or (Replace(sevcodTable.sevcodOffCod, ") + point +
           QStringLiteral(", '') like ") + quoted + QStringLiteral(")");
}

}  // namespace

QString findCodesStatement(const QString& text) {
    tqGlobal::IHostServices& gic = GIC();
    const QString quoted =
        gic.SqlText(reference::containsPattern(text)) + reference::likeEscapeClause();
    return QStringLiteral(
               "SELECT sevcodTable.sevcodCod AS [Service Code], sevcodTable.sevcodOffCod AS "
               "[Office Code], sevcodTable.sevcodDes AS Description, sevcodTable.sevcodFee1 AS "
               "[Fee 1], sevcodTable.sevcodFee2 AS [Fee 2], sevcodTable.sevcodFee3 AS [Fee 3], "
               "sevcodTable.sevcodFee4 AS [Fee 4], sevcodTable.sevcodTyp AS Type, "
               "sevcodTable.sevcodID AS ID ") +
           QStringLiteral("FROM sevcodTable ") + QStringLiteral("WHERE ") +
           gic.GetScopeFilter(QStringLiteral("sevcodTable")) +
           QStringLiteral("((sevcodTable.sevcodCod like ") + quoted + QStringLiteral(") ") +
           QStringLiteral("or (sevcodTable.sevcodOffCod like ") + quoted + QStringLiteral(") ") +
           QStringLiteral("or (sevcodTable.sevcodDes like ") + quoted + QStringLiteral(")") +
           codeFormCondition(text) + QStringLiteral(");");
}

QColor typeColor(const QString& type) {
    switch (static_cast<int>(tqplatform::vb::Val(type.left(1)))) {
        case 2:
            return QColor(255, 0, 0);
        case 3:
            return QColor(0, 0, 127);
        default:
            return QColor(0, 0, 0);
    }
}

QString selectionOf(const QString& officeCode, const QString& serviceCode) {
    return officeCode.trimmed().isEmpty() ? serviceCode.trimmed() : officeCode.trimmed();
}

}  // namespace tqservicecode::codesearch
