#pragma once

#include <tqglobal/Error.h>
#include <tqplatform/ui.h>

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

/// Tells the user that an operation failed, in the host's words.
inline void reportFailure(const QString& what, const tqGlobal::Error& error) {
    tqplatform::ui::msgBox(what + QStringLiteral(":\r") + error.description(),
                           tqplatform::ui::Buttons::Exclamation);
}

}  // namespace tqdemo
