#include <tqservicecode/reference/ReferenceTree.h>

#include <tqservicecode/reference/ReferenceQueries.h>

#include <QSet>

namespace tqservicecode::reference {

QString properCase(const QString& text) {
    QString out = text;
    bool wordStart = true;
    for (QChar& c : out) {
        if (c.isLetter()) {
            c = wordStart ? c.toUpper() : c.toLower();
            wordStart = false;
        } else {
            // As VB's proper case: only white space (and NUL) starts a new word, so
            // "ORAL-FACIAL" becomes "Oral-facial".
            wordStart = c.isSpace() || c.isNull();
        }
    }
    return out;
}

QString nodeText(const TreeRow& row) {
    const QString text = row.level == 1 ? properCase(row.description) : row.description;
    if (row.rangeStart != row.rangeEnd) {
        return text + QStringLiteral(" (") + row.rangeStart + QStringLiteral(" - ") + row.rangeEnd +
               QLatin1Char(')');
    }
    return text + QStringLiteral(" (") + row.rangeStart + QLatin1Char(')');
}

std::vector<TreeNode> treeNodes(const QString& prefix, const std::vector<TreeRow>& rows,
                                const NodeFilter& filter) {
    std::vector<TreeNode> nodes;
    nodes.reserve(rows.size() + 2);
    QSet<QString> keys;
    for (const TreeRow& row : rows) {
        TreeNode node;
        node.key = prefix + QString::number(row.id);
        if (row.level != 0) {
            node.parentKey = prefix + QString::number(row.parent);
            if (!keys.contains(node.parentKey)) {
                continue;
            }
        }
        if (keys.contains(node.key)) {
            continue;  // a second row with the same id would take the first one's place
        }
        node.text = nodeText(row);
        node.filter = filter(row);
        keys.insert(node.key);
        nodes.push_back(std::move(node));
    }
    nodes.push_back({allCodesKey(prefix), QString(), QStringLiteral("All Codes"), QString()});
    nodes.push_back({searchResultsKey(prefix), QString(), QStringLiteral("Search Results"),
                     searchResultsFilter(prefix)});
    return nodes;
}

}  // namespace tqservicecode::reference
