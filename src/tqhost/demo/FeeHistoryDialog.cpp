#include "FeeHistoryDialog.h"

#include <tqhost/PracticeHost.h>
#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tqdemo {

namespace {

QString money(const std::optional<tqplatform::Currency>& fee) {
    return fee ? tqplatform::vb::Format(*fee, QStringLiteral("$#,##0.00"))
               : QStringLiteral("(none)");
}

}  // namespace

FeeHistoryDialog::FeeHistoryDialog(tqhost::PracticeHost& host, int32_t codeId, const QString& code,
                                   QWidget* parent)
    : QDialog(parent), m_host(host), m_codeId(codeId) {
    setObjectName(QStringLiteral("FeeHistory"));
    setWindowTitle(QStringLiteral("Fee history of ") + code);
    resize(720, 360);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Every change of the code's fees, whoever made it. Putting back a fee "
                       "change restores the old fee of every code that change touched, unless "
                       "the fee was changed again since."),
        this));
    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("tblHistory"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Changed (UTC)"), QStringLiteral("Fee"),
                                        QStringLiteral("Old"), QStringLiteral("New"),
                                        QStringLiteral("User")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    layout->addWidget(m_table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_putBack = buttons->addButton(QStringLiteral("&Put back this fee change"),
                                   QDialogButtonBox::ActionRole);
    m_putBack->setObjectName(QStringLiteral("cmdPutBack"));
    connect(m_putBack, &QPushButton::clicked, this, &FeeHistoryDialog::putBackChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    reload();
}

void FeeHistoryDialog::reload() {
    tqplatform::ui::guard([this] {
        const auto entries = m_host.feeHistory(m_codeId);
        m_table->setRowCount(static_cast<int>(entries.size()));
        for (int row = 0; row < entries.size(); ++row) {
            const auto& entry = entries[row];
            const QStringList cells = {entry.changedAt.left(19), QString::number(entry.feeNumber),
                                       money(entry.oldFee), money(entry.newFee), entry.user};
            for (int column = 0; column < cells.size(); ++column) {
                auto* item = new QTableWidgetItem(cells[column]);
                item->setData(Qt::UserRole, entry.historyId);
                m_table->setItem(row, column, item);
            }
        }
        m_table->resizeColumnsToContents();
        if (!entries.isEmpty()) {
            m_table->selectRow(0);
        }
        m_putBack->setEnabled(!entries.isEmpty());
    });
}

void FeeHistoryDialog::putBackChosen() {
    const QList<QTableWidgetItem*> chosen = m_table->selectedItems();
    if (chosen.isEmpty()) {
        return;
    }
    const int historyId = chosen.first()->data(Qt::UserRole).toInt();
    const int row = chosen.first()->row();
    const QString question =
        QStringLiteral("Put back fee %1 of every code that the change of %2 by %3 touched?")
            .arg(m_table->item(row, 1)->text(), m_table->item(row, 0)->text(),
                 m_table->item(row, 4)->text());
    if (tqplatform::ui::msgBox(
            question, tqplatform::ui::Buttons::YesNo | tqplatform::ui::Buttons::Question |
                          tqplatform::ui::Buttons::DefaultButton2) != tqplatform::ui::Answer::Yes) {
        return;
    }
    tqplatform::ui::guard([&] {
        const int restored = m_host.restoreFeeChange(historyId);
        tqplatform::ui::msgBox(QStringLiteral("The fee was put back for %1 code(s).").arg(restored),
                               tqplatform::ui::Buttons::Information);
    });
    reload();
}

}  // namespace tqdemo
