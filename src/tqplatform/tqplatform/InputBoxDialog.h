#pragma once

#include <tqplatform/tqplatform_export.h>

#include <QInputDialog>

namespace tqplatform {

/// The input box the application shows (ui::inputBox), public for a host's or a test's own
/// ScriptedUi that shows the real box. Its text arrives with the cursor after it and nothing
/// selected: a screen that opens the box on a typed character hands that character in, and
/// the keys typed next must add to it rather than replace it.
class TQPLATFORM_EXPORT InputBoxDialog : public QInputDialog {
    Q_OBJECT
public:
    InputBoxDialog(const QString& prompt, const QString& title, const QString& text,
                   QWidget* parent = nullptr);

    void setVisible(bool visible) override;
};

}  // namespace tqplatform
