#include "GridLayout.h"

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/grid/ExportWriter.h>
#include <tqservicecode/grid/GridLayoutFile.h>
#include <tqservicecode/grid/RecordGrid.h>

#include <tqplatform/ui.h>

#include <QDir>
#include <QList>
#include <QStringList>

namespace tqservicecode {

namespace {

using gridlayout::Cell;

/// Layout names whose old files held twelve lines with an empty key for the comments
/// column.
const QString CommentTags = QStringLiteral("//CCO//CCN//CCL//CCC//CCQ//CCT//");

QString columnKey(const RecordGrid& tg, int index, bool indexKeys) {
    if (indexKeys) {
        return QString::number(index);
    }
    const GridColumn c = tg.column(index);
    if (tg.dataMode() == RecordGrid::DataMode::Storage && !c.dataField.isEmpty()) {
        return c.dataField;
    }
    return c.caption;
}

/// The column a key names: by index, or by caption, else by data field.
int columnOfKey(const RecordGrid& tg, const QString& key, bool indexKeys) {
    if (indexKeys) {
        bool ok = false;
        const int index = key.trimmed().toInt(&ok);
        return ok && index >= 0 && index < tg.columnCountTotal() ? index : -1;
    }
    const int byCaption = tg.columnByCaption(key);
    return byCaption >= 0 ? byCaption : tg.columnByField(key);
}

}  // namespace

void AddGridColumn(RecordGrid& tg, int16_t index, const QString& dataField, const QString& caption,
                   int16_t dataType, const std::optional<QString>& numberFormat, bool visible,
                   float width, int16_t forceFormat, const QString& editMask) {
    GridColumn c;
    c.caption = caption;
    c.dataField = dataField;
    c.visible = visible;
    c.resizable = visible;
    c.width = width;
    if (tg.dataMode() == RecordGrid::DataMode::Bound || forceFormat != 0) {
        c.numberFormat = numberFormat ? *numberFormat : gridlayout::numberFormatForType(dataType);
    }
    c.editMask = editMask;
    tg.addColumn(index, c);
}

void ClearGrid(RecordGrid& tg) {
    tg.clearSelBookmarks();
    if (tg.dataMode() == RecordGrid::DataMode::Storage) {
        tg.storeRows({});
    }
    tg.rebind();
    while (tg.columnCountTotal() > 0) {
        tg.removeColumn(0);
    }
}

int16_t LoadGridLayout(RecordGrid& tg, const QString& layoutName, int16_t rowHeightLine,
                       int16_t indexKeys, int16_t keepWidths, int16_t keepRowHeight) {
    auto& host = GIC();
    const QString file = gridlayout::layoutPath(host.GetDataPath(), layoutName);
    if (!host.FileExists(file)) {
        return 0;
    }
    const int columns = tg.columnCountTotal() * tg.splitCount();
    auto read = gridlayout::readLayout(file, columns, rowHeightLine != 0);
    if (!read) {
        return 0;
    }
    if (read->rowHeight && keepRowHeight == 0) {
        tg.setRowHeight(*read->rowHeight);
    }
    host.SortTableRows(read->table);

    const bool commentsName = layoutName.size() >= 3 && CommentTags.contains(layoutName.left(3));
    for (const QStringList& row : std::as_const(read->table)) {
        bool orderOk = false;
        bool splitOk = false;
        bool widthOk = false;
        const int order = row[Cell::SortText].trimmed().toInt(&orderOk);
        const int split = row[Cell::Split].trimmed().toInt(&splitOk);
        const double width = row[Cell::Width].trimmed().toDouble(&widthOk);
        const int position = row[Cell::LinePosition].toInt();
        QString key = row[Cell::Key];
        if (key.isEmpty() && commentsName && read->linesRead == 12) {
            key = QStringLiteral("Comments");
        }
        if (!orderOk || !splitOk || split < 0 || split >= tg.splitCount()) {
            continue;
        }
        int index = -1;
        if (!key.isEmpty()) {
            index = columnOfKey(tg, key, indexKeys != 0);
        } else if (position >= 0 && position < tg.columnCountTotal()) {
            index = position;
        }
        if (index < 0) {
            continue;
        }
        tg.setColumnOrder(index, order);
        // A hidden column is stored with width 0: it keeps the width it comes back with.
        if (keepWidths == 0 && widthOk && (width > 0 || tg.columnVisible(index))) {
            tg.setColumnWidth(index, width);
        }
    }
    for (int i = 0; i < tg.columnCountTotal(); ++i) {
        const GridColumn c = tg.column(i);
        if (c.visible && c.resizable && c.width < gridlayout::NarrowWidth) {
            tg.setColumnWidth(i, gridlayout::RepairedWidth);
        }
    }
    return 1;
}

bool SaveGridLayout(RecordGrid& tg, const QString& layoutName, int16_t rowHeightLine,
                    int16_t indexKeys) {
    QStringList lines;
    if (rowHeightLine != 0) {
        lines << QStringLiteral("ROWHEIGHT=") + gridlayout::widthText(tg.rowHeight());
    }
    for (int split = 0; split < tg.splitCount(); ++split) {
        for (int i = 0; i < tg.columnCountTotal(); ++i) {
            const QString width = tg.columnVisible(i) ? gridlayout::widthText(tg.columnWidth(i))
                                                      : QStringLiteral("0");
            lines << QStringList{columnKey(tg, i, indexKeys != 0),
                                 QString::number(tg.columnOrder(i)), width, QString::number(split)}
                         .join(u',');
        }
    }
    const QString path = gridlayout::layoutPath(GIC().GetDataPath(), layoutName);
    QString reason;
    if (gridlayout::writeLayout(path, lines, &reason)) {
        return true;
    }
    // The user's last layout stays; the user hears why this one was not kept.
    tqplatform::ui::msgBox(
        exporting::openFailureMessage(QDir::toNativeSeparators(path), 75, reason),
        tqplatform::ui::Buttons::Exclamation);
    return false;
}

}  // namespace tqservicecode
