#include "RecordGrid.h"

#include <tqplatform/Twips.h>
#include <tqplatform/ui.h>

#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QScrollBar>

#include <algorithm>

namespace tqservicecode {

namespace {

/// Pixels of room above and below a row's text.
constexpr int RowPadding = 4;

}  // namespace

RecordGrid::RecordGrid(QWidget* parent) : QTableView(parent), m_model(new RecordModel(this)) {
    setModel(m_model);
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerItem);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setContextMenuPolicy(Qt::CustomContextMenu);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(1);
    setGridFont(font());

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &RecordGrid::headClick);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &RecordGrid::onSectionResized);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RecordGrid::onSelectionChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &RecordGrid::onCurrentChanged);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, &RecordGrid::forgetSelection);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this, &RecordGrid::forgetSelection);
    // Queued: the view fetches from its paint and scroll handlers, where no box may open.
    connect(m_model, &RecordModel::fetchFailed, this, &RecordGrid::tellFetchFailed,
            Qt::QueuedConnection);
}

void RecordGrid::tellFetchFailed(const QString& reason) {
    // The model stops fetching after a failure until it is bound again: told once.
    try {
        tqplatform::ui::msgBox(fetchFailedMessage(reason), tqplatform::ui::Buttons::Exclamation);
    } catch (...) {
        // The box itself could not be shown: nothing more can be told from a slot.
    }
}

RecordGrid::~RecordGrid() = default;

void RecordGrid::setDataSource(tqplatform::Recordset* rs) {
    m_model->setRecordset(rs);
    for (int i = 0; i < columnCountTotal(); ++i) {
        applyColumn(i);
    }
}

void RecordGrid::rebind() {
    m_model->rebind();
}

RecordGrid::DataMode RecordGrid::dataMode() const {
    return m_model->mode() == RecordModel::Mode::Bound ? DataMode::Bound : DataMode::Storage;
}

void RecordGrid::storeRows(std::vector<std::vector<QVariant>> rows) {
    m_model->setStorageRows(std::move(rows));
}

void RecordGrid::setAllowUpdate(bool allow) {
    m_model->setAllowUpdate(allow);
}

int RecordGrid::addColumn(int index, const GridColumn& column) {
    index = std::clamp(index, 0, columnCountTotal());
    // A new column takes the next display position, as a grid's new column does.
    m_model->insertGridColumn(index, column);
    applyColumn(index);
    return index;
}

void RecordGrid::removeColumn(int index) {
    m_model->removeGridColumn(index);
}

GridColumn RecordGrid::column(int index) const {
    return m_model->column(index);
}

void RecordGrid::setColumn(int index, const GridColumn& column) {
    if (index < 0 || index >= columnCountTotal()) {
        return;
    }
    m_model->setGridColumn(index, column);
    applyColumn(index);
}

void RecordGrid::applyColumn(int index) {
    const GridColumn& c = m_model->column(index);
    m_syncing = true;
    QHeaderView* header = horizontalHeader();
    header->setSectionHidden(index, !c.visible);
    if (c.visible) {
        header->resizeSection(index, tqplatform::twips::toPixelsX(c.width, this));
    }
    header->setSectionResizeMode(index,
                                 c.resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
    m_syncing = false;
}

int RecordGrid::columnOrder(int index) const {
    return horizontalHeader()->visualIndex(index);
}

void RecordGrid::setColumnOrder(int index, int order) {
    if (index < 0 || index >= columnCountTotal()) {
        return;
    }
    order = std::clamp(order, 0, columnCountTotal() - 1);
    horizontalHeader()->moveSection(horizontalHeader()->visualIndex(index), order);
}

double RecordGrid::columnWidth(int index) const {
    return (index >= 0 && index < columnCountTotal()) ? m_model->column(index).width : 0;
}

void RecordGrid::setColumnWidth(int index, double width) {
    if (index < 0 || index >= columnCountTotal()) {
        return;
    }
    m_model->noteWidth(index, width);
    applyColumn(index);
}

bool RecordGrid::columnVisible(int index) const {
    return index >= 0 && index < columnCountTotal() && m_model->column(index).visible;
}

void RecordGrid::setColumnVisible(int index, bool visible) {
    if (index < 0 || index >= columnCountTotal()) {
        return;
    }
    GridColumn c = m_model->column(index);
    c.visible = visible;
    setColumn(index, c);
}

int RecordGrid::columnByCaption(const QString& caption) const {
    for (int i = 0; i < columnCountTotal(); ++i) {
        if (m_model->column(i).caption.compare(caption, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

int RecordGrid::columnByField(const QString& field) const {
    for (int i = 0; i < columnCountTotal(); ++i) {
        if (m_model->column(i).dataField.compare(field, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

std::vector<int> RecordGrid::visibleColumnsInOrder() const {
    std::vector<int> out;
    for (int visual = 0; visual < columnCountTotal(); ++visual) {
        const int index = horizontalHeader()->logicalIndex(visual);
        if (columnVisible(index)) {
            out.push_back(index);
        }
    }
    return out;
}

void RecordGrid::onSectionResized(int logical, int /*oldSize*/, int newSize) {
    // Only a width the user dragged is kept; hiding a column shrinks it to nothing.
    if (!m_syncing && !horizontalHeader()->isSectionHidden(logical) && newSize > 0) {
        m_model->noteWidth(logical, tqplatform::twips::fromPixelsX(newSize, this));
    }
}

tqplatform::Bookmark RecordGrid::bookmark() const {
    return m_model->bookmarkAt(currentRowIndex());
}

bool RecordGrid::setBookmark(tqplatform::Bookmark bookmark) {
    const int row = m_model->rowOf(bookmark);
    if (row < 0) {
        return false;
    }
    const QModelIndex index = m_model->index(row, std::max(col(), 0));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
    return true;
}

int RecordGrid::currentRowIndex() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void RecordGrid::followCursor() {
    tqplatform::Recordset* rs = dataSource();
    if (dataMode() != DataMode::Bound || !rs || !rs->isOpen()) {
        return;
    }
    const int position = rs->AbsolutePosition();
    if (position < 1) {
        return;
    }
    while (position > m_model->rowCount() && m_model->canFetchMore({})) {
        m_model->fetchMore({});
    }
    if (position <= m_model->rowCount()) {
        const QModelIndex index = m_model->index(position - 1, std::max(col(), 0));
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        scrollTo(index);
    }
}

tqplatform::Bookmark RecordGrid::firstRow() const {
    const int row = rowAt(0);
    return m_model->bookmarkAt(row >= 0 ? row : (m_model->rowCount() > 0 ? 0 : -1));
}

void RecordGrid::setFirstRow(tqplatform::Bookmark bookmark) {
    const int row = m_model->rowOf(bookmark);
    if (row >= 0) {
        updateGeometries();
        verticalScrollBar()->setValue(row);
    }
}

int RecordGrid::leftCol() const {
    const int column = columnAt(0);
    return column >= 0 ? column
                       : (visibleColumnsInOrder().empty() ? 0 : visibleColumnsInOrder()[0]);
}

void RecordGrid::setLeftCol(int column) {
    if (column < 0 || column >= columnCountTotal()) {
        return;
    }
    updateGeometries();
    horizontalScrollBar()->setValue(horizontalHeader()->sectionPosition(column));
}

int RecordGrid::col() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : m_col;
}

void RecordGrid::setCol(int column) {
    if (column < 0 || column >= columnCountTotal()) {
        return;
    }
    m_col = column;
    const int row = currentRowIndex();
    if (row >= 0) {
        // A new current column leaves the rows in view where they are.
        const bool autoScrolling = hasAutoScroll();
        setAutoScroll(false);
        selectionModel()->setCurrentIndex(m_model->index(row, column),
                                          QItemSelectionModel::NoUpdate);
        setAutoScroll(autoScrolling);
    }
}

void RecordGrid::selectRow(int row, bool on) {
    if (m_model->columnCount() == 0) {
        return;
    }
    m_syncing = true;
    selectionModel()->select(m_model->index(row, 0),
                             (on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                 QItemSelectionModel::Rows);
    m_syncing = false;
}

void RecordGrid::addSelBookmark(tqplatform::Bookmark bookmark) {
    const int row = m_model->rowOf(bookmark);
    if (row < 0 || m_selectedSet.contains(bookmark)) {
        return;
    }
    m_selected.push_back(bookmark);
    m_selectedSet.insert(bookmark);
    selectRow(row, true);
    emit selChange();
}

void RecordGrid::removeSelBookmark(tqplatform::Bookmark bookmark) {
    if (!m_selectedSet.erase(bookmark)) {
        return;
    }
    std::erase(m_selected, bookmark);
    const int row = m_model->rowOf(bookmark);
    if (row >= 0) {
        selectRow(row, false);
    }
    emit selChange();
}

void RecordGrid::clearSelBookmarks() {
    m_syncing = true;
    selectionModel()->clearSelection();
    m_syncing = false;
    forgetSelection();
    emit selChange();
}

void RecordGrid::setSelBookmarks(const std::vector<tqplatform::Bookmark>& bookmarks) {
    forgetSelection();
    std::vector<int> rows;
    rows.reserve(bookmarks.size());
    for (tqplatform::Bookmark b : bookmarks) {
        const int row = m_model->rowOf(b);
        if (row >= 0 && m_selectedSet.insert(b).second) {
            m_selected.push_back(b);
            rows.push_back(row);
        }
    }
    // Neighbouring rows make one range: the selection model stays small.
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    const int lastColumn = std::max(0, m_model->columnCount() - 1);
    for (size_t i = 0; i < rows.size();) {
        size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) {
            ++j;
        }
        selection.select(m_model->index(rows[i], 0), m_model->index(rows[j], lastColumn));
        i = j + 1;
    }
    m_syncing = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
    emit selChange();
}

void RecordGrid::forgetSelection() {
    m_selected.clear();
    m_selectedSet.clear();
}

void RecordGrid::onSelectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    if (m_syncing) {
        return;
    }
    // A row counts as selected while any of its cells is: whole rows are selected.
    std::unordered_set<tqplatform::Bookmark> gone;
    for (const QItemSelectionRange& range : deselected) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (!selectionModel()->isRowSelected(row)) {
                gone.insert(m_model->bookmarkAt(row));
            }
        }
    }
    if (!gone.empty()) {
        std::erase_if(m_selected, [&](tqplatform::Bookmark b) { return gone.contains(b); });
        for (tqplatform::Bookmark b : gone) {
            m_selectedSet.erase(b);
        }
    }
    for (const QItemSelectionRange& range : selected) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            const tqplatform::Bookmark b = m_model->bookmarkAt(row);
            if (b >= 0 && m_selectedSet.insert(b).second) {
                m_selected.push_back(b);
            }
        }
    }
    emit selChange();
}

void RecordGrid::onCurrentChanged(const QModelIndex& current, const QModelIndex& /*previous*/) {
    if (current.isValid()) {
        m_col = current.column();
        tqplatform::Recordset* rs = dataSource();
        if (dataMode() == DataMode::Bound && rs && rs->isOpen() &&
            current.row() < rs->RecordCount()) {
            rs->setAbsolutePosition(current.row() + 1);
        }
    }
    emit rowColChange();
}

void RecordGrid::setRowStyle(RecordModel::RowStyle style) {
    m_model->setRowStyle(std::move(style));
    viewport()->update();
}

void RecordGrid::setFetchRowStyle(bool on) {
    m_model->setFetchRowStyle(on);
    viewport()->update();
}

double RecordGrid::rowHeight() const {
    return tqplatform::twips::fromPixelsY(verticalHeader()->defaultSectionSize(), this);
}

void RecordGrid::setRowHeight(double twips) {
    verticalHeader()->setDefaultSectionSize(std::max(1, tqplatform::twips::toPixelsY(twips, this)));
}

void RecordGrid::setGridFont(const QFont& font) {
    setFont(font);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + RowPadding);
}

double RecordGrid::letterWidth() const {
    return tqplatform::twips::fromPixelsX(QFontMetrics(font()).averageCharWidth(), this);
}

void RecordGrid::setRecordSelectors(bool on) {
    verticalHeader()->setVisible(on);
}

void RecordGrid::setRedraw(bool on) {
    setUpdatesEnabled(on);
    if (on) {
        viewport()->update();
    }
}

void RecordGrid::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool printable = text.size() == 1 && text.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const bool editable = currentIndex().isValid() && (currentIndex().flags() & Qt::ItemIsEditable);
    if (printable && !editable && state() != EditingState &&
        isSignalConnected(QMetaMethod::fromSignal(&RecordGrid::keyTyped))) {
        emit keyTyped(text);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace tqservicecode
