#pragma once

class QWidget;

namespace tqGlobal {

/// The host's fee-change dialog: asks by how many percent the fees change and whether
/// the results are rounded to whole dollars.
class IFeeChangeDialog {
public:
    virtual ~IFeeChangeDialog() = default;
    /// Shows the dialog over owner. Answers the signed percentage (negative lowers the
    /// fees), or 0 when the user cancelled; roundToDollar receives the rounding choice.
    virtual float AskPercentage(bool& roundToDollar, QWidget* owner) = 0;
};

}  // namespace tqGlobal
