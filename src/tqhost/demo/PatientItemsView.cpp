#include "PatientItemsView.h"

#include "DemoText.h"

#include <tqhost/PracticeHost.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>

#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tqdemo {

namespace {

enum ItemColumn {
    ItemId,
    ItemCode,
    ItemDescription,
    ItemFee,
    ItemFollowUp,
    ItemProvider,
    ItemPosted
};
enum NoteColumn { NoteItem, NoteText, NoteCreated };

QString shortDate(const QVariant& value) {
    return tqplatform::vb::Format(value, QStringLiteral("Short Date"));
}

QString field(const tqplatform::Recordset& rs, const char* name) {
    return rs.Fields(QLatin1String(name)).toString().trimmed();
}

QWidget* titled(QLabel* title, QTableWidget* table) {
    auto* part = new QWidget;
    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(table, 1);
    return part;
}

}  // namespace

PatientItemsView::PatientItemsView(tqhost::PracticeHost& host, QWidget* parent)
    : QWidget(parent), m_host(host) {
    setObjectName(QStringLiteral("PatientItemsView"));
    m_itemsTitle = new QLabel;
    m_items = makeResultTable(
        QStringLiteral("Items"),
        {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Description"),
         QStringLiteral("Fee"), QStringLiteral("Follow-up"), QStringLiteral("Provider"),
         QStringLiteral("Posted")});
    m_notesTitle = new QLabel;
    m_notes = makeResultTable(
        QStringLiteral("Notes"),
        {QStringLiteral("Item"), QStringLiteral("Note"), QStringLiteral("Created")});
    // A note keeps its line breaks, its row growing to show them.
    fitColumns(m_items, ItemDescription);
    fitColumns(m_notes, NoteText);
    m_notes->setWordWrap(true);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(titled(m_itemsTitle, m_items));
    splitter->addWidget(titled(m_notesTitle, m_notes));
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    reload();
}

void PatientItemsView::setPatient(int32_t id) {
    m_patientId = id;
    reload();
}

void PatientItemsView::reload() {
    m_items->setRowCount(0);
    m_notes->setRowCount(0);
    if (m_patientId != 0) {
        tqplatform::ui::guard([this] {
            loadItems();
            loadNotes();
        });
    }
    m_itemsTitle->setText(counted(m_items->rowCount(), "item") + QStringLiteral(" on the ledger"));
    m_notesTitle->setText(counted(m_notes->rowCount(), "note"));
}

void PatientItemsView::loadItems() {
    tqplatform::Recordset rs = m_host.connection().OpenRecordset(
        QStringLiteral("SELECT traID, traCod, traDes, traCha, traAptSchDat, traDrIni, traStaDat "
                       "FROM DTTable WHERE trapID = %1 ORDER BY traID DESC")
            .arg(m_patientId));
    m_items->setRowCount(rs.RecordCount());
    for (int row = 0; !rs.Eof(); rs.MoveNext(), ++row) {
        setCell(m_items, row, ItemId, field(rs, "traID"), true);
        setCell(m_items, row, ItemCode, field(rs, "traCod"));
        setCell(m_items, row, ItemDescription, field(rs, "traDes"));
        setCell(
            m_items, row, ItemFee,
            tqplatform::vb::Format(rs.Fields(QStringLiteral("traCha")), QStringLiteral("$0.00")),
            true);
        setCell(m_items, row, ItemFollowUp, shortDate(rs.Fields(QStringLiteral("traAptSchDat"))));
        setCell(m_items, row, ItemProvider, field(rs, "traDrIni"));
        setCell(m_items, row, ItemPosted, shortDate(rs.Fields(QStringLiteral("traStaDat"))));
    }
}

void PatientItemsView::loadNotes() {
    tqplatform::Recordset rs = m_host.connection().OpenRecordset(
        QStringLiteral("SELECT notID, notTraID, notText, notCreated FROM NoteTable "
                       "WHERE notPatID = %1 ORDER BY notID DESC")
            .arg(m_patientId));
    m_notes->setRowCount(rs.RecordCount());
    for (int row = 0; !rs.Eof(); rs.MoveNext(), ++row) {
        QString text = rs.Fields(QStringLiteral("notText")).toString().trimmed();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        setCell(m_notes, row, NoteItem, field(rs, "notTraID"), true);
        setCell(m_notes, row, NoteText, text);
        setCell(m_notes, row, NoteCreated, shortDate(rs.Fields(QStringLiteral("notCreated"))));
    }
    m_notes->resizeRowsToContents();
}

}  // namespace tqdemo
