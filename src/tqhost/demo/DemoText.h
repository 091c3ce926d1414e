#pragma once

#include <tqglobal/IHostServices.h>

#include <QHeaderView>
#include <QString>
#include <QStringList>
#include <QTableWidget>

/// Small pieces the demo's panels share.
namespace tqdemo {

/// The text trimmed, or a dash for nothing.
inline QString orDash(const QString& text) {
    return text.trimmed().isEmpty() ? QStringLiteral("\u2014") : text.trimmed();
}

/// "No items", "1 item", "3 items".
inline QString counted(qsizetype count, const char* noun) {
    return QStringLiteral("%1 %2%3").arg(count == 0 ? QStringLiteral("No") : QString::number(count),
                                         QLatin1String(noun),
                                         count == 1 ? QString() : QStringLiteral("s"));
}

/// A read-only table of whole rows with the given column captions.
inline QTableWidget* makeResultTable(const QString& name, const QStringList& captions) {
    auto* table = new QTableWidget(0, static_cast<int>(captions.size()));
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(captions);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setHighlightSections(false);
    return table;
}

/// The text column takes the room left, the others their contents' width.
inline void fitColumns(QTableWidget* table, int textColumn) {
    QHeaderView* header = table->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(textColumn, QHeaderView::Stretch);
}

/// Sets one cell's text; numbers and money are right-aligned.
inline void setCell(QTableWidget* table, int row, int column, const QString& text,
                    bool alignRight = false) {
    auto* item = new QTableWidgetItem(text);
    if (alignRight) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    table->setItem(row, column, item);
}

/// Sets the host's screen protocol properties to "no option" before a call of the
/// component. A screen reads them as its opener's options, and the component leaves in
/// them what its screens answered: after a cancelled category choice ScreenParameter
/// still holds "BUTTONS", and the next picker would open as the category choice.
inline void clearScreenProtocol(tqGlobal::IHostServices& host) {
    host.setPatientID(0);
    host.setSelectedID(0);
    host.setScreenNumber(0);
    host.setScreenText(QString());
    host.setScreenParameter(QString());
    host.setScreenReturn(QString());
    host.setScreenOption(QString());
}

}  // namespace tqdemo
