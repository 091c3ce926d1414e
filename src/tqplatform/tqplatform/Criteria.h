#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace tqplatform {

/// A parsed ADO filter/find criteria: "name op value" clauses joined by AND and OR,
/// with brackets. Operators = <> < > <= >= LIKE; values in single quotes (texts), in
/// # (dates) or bare (numbers). Text comparisons ignore case, as ADO's do. LIKE takes
/// * or % as wildcards and _ as one character.
class Criteria {
public:
    /// Throws tqGlobal::Error (3001) with a clear text when criteria cannot be read.
    explicit Criteria(const QString& criteria);
    ~Criteria();
    Criteria(Criteria&&) noexcept;
    Criteria& operator=(Criteria&&) noexcept;

    /// Field values are given by name through fieldValue.
    bool matches(const std::function<QVariant(const QString& name)>& fieldValue) const;
    bool isEmpty() const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

}  // namespace tqplatform
