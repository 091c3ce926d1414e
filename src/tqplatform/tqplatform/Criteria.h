#pragma once

#include <tqplatform/tqplatform_export.h>

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace tqplatform {

/// A parsed ADO filter/find criteria: "name op value" clauses joined by AND and OR,
/// with brackets. Operators = <> < > <= >= LIKE; values in single quotes (texts), in
/// # (dates) or bare (numbers). Text comparisons ignore case, as ADO's do. LIKE takes
/// * or % as wildcards and _ as one character.
class TQPLATFORM_EXPORT Criteria {
public:
    /// Throws tqplatform::Error (3001) with a clear text when criteria cannot be read.
    explicit Criteria(const QString& criteria);
    ~Criteria();
    Criteria(Criteria&&) noexcept;
    Criteria& operator=(Criteria&&) noexcept;

    /// Field values are given by name through fieldValue.
    bool matches(const std::function<QVariant(const QString& name)>& fieldValue) const;
    bool isEmpty() const;

    /// The field names the criteria speak of, as written (without brackets).
    QStringList fieldNames() const;
    /// Resolves every field name to a column index once (indexOf throws for unknown names),
    /// so that matchesRow can test rows without looking names up.
    void bind(const std::function<int(const QString& name)>& indexOf);
    /// Tests a row after bind().
    bool matchesRow(const std::vector<QVariant>& row) const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

}  // namespace tqplatform
