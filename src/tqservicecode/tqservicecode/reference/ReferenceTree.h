#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

/// The reference browser's tree: one node per row of the set's tree table, then the
/// "All Codes" and "Search Results" nodes. Each node carries the filter that lists its
/// codes.
namespace tqservicecode::reference {

/// One row of a set's tree table.
struct TreeRow {
    int32_t level = 0;
    int32_t parent = 0;
    int32_t id = 0;
    QString description;
    QString rangeStart;
    QString rangeEnd;
};

struct TreeNode {
    QString key;
    /// "" for a top-level node.
    QString parentKey;
    QString text;
    /// The filter (a condition without WHERE) that lists the node's codes; "" for all.
    QString filter;
};

/// The first letter of every word upper case, the others lower case, words separated by
/// white space ("DISEASES OF THE TEETH" gives "Diseases Of The Teeth").
QString properCase(const QString& text);

/// A node's text: the description (in proper case at level 1), then the range in
/// brackets, one code only when the range starts and ends with it.
QString nodeText(const TreeRow& row);

/// The filter of a node from its row; the default compares the code with the row's range.
using NodeFilter = std::function<QString(const TreeRow&)>;

/// The nodes of the rows, in their order, then "All Codes" and "Search Results". A row
/// whose parent is not among the rows before it is an error of the data: it is left out
/// (with its own children), so the rest of the tree still shows.
std::vector<TreeNode> treeNodes(const QString& prefix, const std::vector<TreeRow>& rows,
                                const NodeFilter& filter);

}  // namespace tqservicecode::reference
