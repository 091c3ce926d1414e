#pragma once

#include <tqhost/Schema.h>

#include <QString>
#include <QVariant>

namespace tqhost::Internal {

/// A text value turned into what its column stores.
struct Conversion {
    bool ok = false;
    /// The value to bind (a typed null for an empty number or date).
    QVariant value;
    /// Why the value does not fit, completing "The value ... " ("is not a whole number").
    QString problem;
};

/// Converts a text value for a column:
/// - whole numbers: an optional sign and digits, blanks around them allowed, a fraction
///   of zeros allowed ("12.00"); anything else, or a number outside the column's range,
///   does not fit;
/// - reals: a decimal number ("8.25", "-1e3"); outside a single's range does not fit;
/// - money: Currency::parse ("$1,234.50", "(5.00)", "1234.5"), exact;
/// - dates: any text the VB date functions read, stored "yyyy-MM-dd" (with " HH:mm:ss"
///   when it carries a time of day);
/// - texts: kept exactly as given (the caller trims); longer than the width does not fit.
/// An empty or blank value in a number or date column becomes NULL. A NUL character never
/// fits (the databases cannot keep it in a text).
Conversion convertValue(const schema::Column& column, const QString& text);

}  // namespace tqhost::Internal
