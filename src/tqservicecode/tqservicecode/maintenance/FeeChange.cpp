#include <tqservicecode/maintenance/FeeChange.h>

#include <tqservicecode/core/ComponentContext.h>

#include <tqplatform/Connection.h>
#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>

#include <charconv>
#include <cmath>

namespace tqservicecode {

namespace {

namespace ui = tqplatform::ui;

/// The shortest text that reads back as the same single-precision value ("1.05", "-12.5").
QString shortest(float value) {
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc() ? QString::fromLatin1(buffer.data(), end - buffer.data())
                                : QString::number(static_cast<double>(value));
}

QString confirmation(float percent, int fee, bool rounding, const QString& category, bool all) {
    const QString verb = percent < 0 ? QStringLiteral("DECREASE") : QStringLiteral("INCREASE");
    const QString fees =
        fee < 1 ? QStringLiteral("all 4 fees") : QStringLiteral("fee ") + QString::number(fee);
    QString text = QStringLiteral("You have chosen to ") + verb + QLatin1Char(' ') + fees +
                   QStringLiteral(" by ") + shortest(percent) + QStringLiteral("% for all codes");
    if (!all) {
        text += QStringLiteral(" having category = [") + category + QLatin1Char(']');
    }
    if (rounding) {
        text += QStringLiteral(" and Round fees to the nearest dollar");
    }
    return text + QStringLiteral(
                      ".\r\n\r\nThis process cannot be reversed. Do you want to "
                      "continue?");
}

struct FeeStatements {
    QString zero;    ///< sets missing fees to 0 first, so that they stay 0
    QString update;  ///< changes the fees
};

FeeStatements statements(int fee, const QString& factor, bool rounding, bool server,
                         const QString& category, bool all) {
    tqGlobal::IHostServices& gic = GIC();
    const QString f = QStringLiteral("SevCodFee") + QString::number(fee);
    QString value = f + QStringLiteral(" * ") + factor;
    if (rounding) {
        value = server ? QStringLiteral("ROUND(") + value + QStringLiteral(", 0)")
                       : (all ? QStringLiteral("CInt(") : QStringLiteral("Clng(")) + value +
                             QLatin1Char(')');
    }
    const QString head = QStringLiteral("UPDATE SevCodTable SET ") + f;
    if (!all) {
        // The category goes between quotes as it is: a quote in it breaks the statement.
        const QString where = QStringLiteral(" WHERE ") + gic.GetScopeFilter(QString()) +
                              QStringLiteral("SevCodCat = '") + category + QLatin1Char('\'');
        return {head + QStringLiteral(" = 0") + where + QStringLiteral(" and ") + f +
                    QStringLiteral(" is null"),
                head + QStringLiteral(" = ") + value + where};
    }
    const QString scope = gic.GetScopeFilter(QStringLiteral("SevCodTable"));
    QString update =
        (head + QStringLiteral(" = ") + value + QStringLiteral(" WHERE ") + scope).trimmed();
    if (update.right(5).toUpper() == QStringLiteral("WHERE")) {
        update.chop(5);
        update = update.trimmed();
    }
    QString zero = (head + QStringLiteral(" = 0 WHERE ") + scope).trimmed();
    zero += zero.right(5).toUpper() == QStringLiteral("WHERE") ? QStringLiteral(" ")
                                                               : QStringLiteral(" and ");
    zero += f + QStringLiteral(" is null");
    return {zero, update};
}

}  // namespace

bool changeFees(const QString& category, const QString& feeTag) {
    tqGlobal::IHostServices& gic = GIC();
    bool rounding = false;
    const std::shared_ptr<tqGlobal::IFeeChangeDialog> dialog = gic.CreateFeeChangeDialog();
    const float percent = dialog ? dialog->AskPercentage(rounding, gic.GetMainForm()) : 0.0F;
    if (percent == 0 || std::isnan(percent)) {
        return false;
    }
    const int fee = static_cast<int>(tqplatform::vb::Val(feeTag));
    if (std::fabs(percent) > 100) {
        ui::msgBox(QStringLiteral("Fees cannot be changed by more than 100%"), ui::Buttons::OkOnly);
        return false;
    }
    const QString shown = category.trimmed();
    const bool all = shown.toUpper() == QStringLiteral("ALL CODES");
    if (ui::msgBox(confirmation(percent, fee, rounding, shown, all),
                   ui::Buttons::YesNo | ui::Buttons::Question | ui::Buttons::DefaultButton2) !=
        ui::Answer::Yes) {
        return false;
    }
    const QString factor = shortest(1.0F + percent / 100.0F).trimmed();
    const bool server = gic.GetDatabaseKind(1) == 2;
    const int first = fee < 1 ? 1 : fee;
    const int last = fee < 1 ? 4 : fee;
    for (int n = first; n <= last; ++n) {
        const FeeStatements sql = statements(n, factor, rounding, server, shown, all);
        gic.GetConnection().Execute(gic.TranslateSql(sql.zero, 1));
        gic.GetConnection().Execute(gic.TranslateSql(sql.update, 1));
    }
    return true;
}

}  // namespace tqservicecode
