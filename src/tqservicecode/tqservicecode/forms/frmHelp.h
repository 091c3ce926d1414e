#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;

namespace tqservicecode {

/// Shadow help: a small borderless window that introduces a screen when it opens. Its
/// check box lets the user turn shadow help off.
class frmHelp : public QDialog {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);

    void setText(const QString& text);
    /// Whether the "don't show" check box is shown and enabled.
    void setShowChkDontShow(bool show);
    bool ShowChkDontShow() const { return m_showChkDontShow; }

    /// The per-user key of the shadow-help setting: the user's id followed by
    /// "SHADOW_HELP", cut to 20 characters.
    static QString shadowHelpKey(int32_t userId);
    /// Whether shadow help is on for the current user (on unless switched off).
    static bool shadowHelpEnabled();

private:
    QLabel* lblHelp = nullptr;
    QCheckBox* chkDontShow = nullptr;

    void dontShowToggled(bool checked);
    bool m_showChkDontShow = true;
};

}  // namespace tqservicecode
