#include <tqservicecode/maintenance/BrowserRules.h>

#include <tqplatform/Vb.h>

#include <array>

namespace tqservicecode::browser {

namespace {

const std::array<Column, ColumnCount> Columns{{{"Type", "SevCodTyp", 1300},
                                               {"Category", "SevCodCat", 1300},
                                               {"Code", "SevCodCod", 1100},
                                               {"Office Code", "SevCodOffCod", 1100},
                                               {"Description", "SevCodDes", 3800},
                                               {"Sub-Category", "SevCodSubCat", 1300},
                                               {"Fee 1", "SevCodFee1", 1000},
                                               {"Fee 2", "SevCodFee2", 1000},
                                               {"Fee 3", "SevCodFee3", 1000},
                                               {"Fee 4", "SevCodFee4", 1000},
                                               {"ID", "SevCodID", 700}}};

const QString OrderBy = QStringLiteral("ORDER BY");
/// The system's line break in every message.
const QString LineBreak = QStringLiteral("\r\n");

}  // namespace

const Column& column(int index) {
    return Columns.at(static_cast<size_t>(index));
}

bool isAllCodes(const QString& category) {
    return category.trimmed().toUpper() == QStringLiteral("ALL CODES");
}

QString codeStatement(const QString& category, const QString& scope, const QString& categoryLiteral,
                      const QString& sortField, const QString& direction) {
    QString sql;
    if (isAllCodes(category)) {
        sql = QStringLiteral("SELECT *  FROM SevCodTable WHERE ") + scope;
    } else {
        sql = QStringLiteral("SELECT * FROM SevCodTable WHERE ") + scope +
              QStringLiteral("sevcodCat=") + categoryLiteral + QStringLiteral(" AND ");
    }
    return sql + QStringLiteral("NOT (SevCodTable.sevcodCod IN ('CCRMB', 'CCRFN', 'CCPMT')) ") +
           OrderBy + QLatin1Char(' ') + sortField + QLatin1Char(' ') + direction + QLatin1Char(';');
}

QString resortedStatement(const QString& statement, const QString& field, bool sameColumn,
                          bool& descending) {
    const qsizetype at = statement.lastIndexOf(OrderBy);
    const QString head = at < 0 ? statement + QLatin1Char(' ') : statement.left(at);
    descending = sameColumn && statement.endsWith(QStringLiteral(" ASC;"));
    return head + OrderBy + QLatin1Char(' ') + field +
           (descending ? QStringLiteral(" DESC;") : QStringLiteral(" ASC;"));
}

QString searchFilter(const QString& typed) {
    QString text;
    for (const QChar c : typed.trimmed()) {
        if (c == u'%' || c == u'*' || c == u'_' || c == u'[') {
            text += QLatin1Char('[') + c + QLatin1Char(']');
        } else if (c == u'\'') {
            text += QStringLiteral("''");
        } else {
            text += c;
        }
    }
    const QString quoted = QStringLiteral("'%") + text + QStringLiteral("%'");
    QStringList parts;
    for (const char* field :
         {"sevcodCod", "sevcodOffCod", "sevcodDes", "sevcodCat", "sevcodSubCat"}) {
        parts << QLatin1String(field) + QStringLiteral(" like ") + quoted;
    }
    return parts.join(QStringLiteral(" OR "));
}

QString countText(int position, int recordCount, int selected) {
    return QStringLiteral("%1 of %2 (%3)").arg(position).arg(recordCount).arg(selected);
}

QColor rowTextColour(const QString& type, const QString& category) {
    const int typeNumber = static_cast<int>(tqplatform::vb::Val(type.trimmed()));
    if (typeNumber == 2) {
        return QColor(255, 0, 0);
    }
    if (typeNumber == 3) {
        return category.trimmed().toUpper() == QStringLiteral("REFUND") ? QColor(128, 64, 64)
                                                                        : QColor(0, 0, 127);
    }
    return QColor(0, 0, 0);
}

QString selectionMessage(int count, const QString& extra) {
    return QStringLiteral("You have ") + QString::number(count) + QStringLiteral(" code") +
           (count >= 2 ? QStringLiteral("s") : QString()) + QStringLiteral(" selected. ") + extra;
}

QString sortQuestion(int count) {
    return QStringLiteral("You have ") + QString::number(count) +
           QStringLiteral(" code(s) selected.") + LineBreak + LineBreak +
           QStringLiteral("Sorting the column will clear this selection.") + LineBreak +
           QStringLiteral("Do you want to continue?");
}

QString notFoundMessage(const QString& text, bool allCodes) {
    const QString head = QStringLiteral("[ ") + text + QStringLiteral(" ] ");
    if (allCodes) {
        return head + QStringLiteral(" was not found in the database.") + LineBreak +
               QStringLiteral("Add as new?");
    }
    return head + QStringLiteral(" was not found in ") +
           QStringLiteral("the current category. Would you like to search all codes?");
}

QString editCaption(const QString& code) {
    return QStringLiteral("&Edit [ Code = ") + code + QStringLiteral("]");
}

QString deleteCaption(const QString& code) {
    return QStringLiteral("&Delete [ Code = ") + code + QStringLiteral("]");
}

QString changeFeeCaption(int feeNumber, const QString& categoryLabel) {
    const QString tail =
        QStringLiteral(" [ Category = ") + categoryLabel + QStringLiteral(" ] ...");
    if (feeNumber >= 1 && feeNumber <= 4) {
        return QStringLiteral("&Change Fee ") + QString::number(feeNumber) + tail;
    }
    return QStringLiteral("&Change All 4 Fees") + tail;
}

QString deleteStatement(int32_t id) {
    return QStringLiteral("DELETE * FROM SevCodTable WHERE sevcodID=") + QString::number(id) +
           QLatin1Char(';');
}

}  // namespace tqservicecode::browser
