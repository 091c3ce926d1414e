#include <tqservicecode/forms/frmHelp.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/core/HostProtocol.h>

#include <tqplatform/ui.h>

#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tqservicecode {

namespace {}

frmHelp::frmHelp(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Tool) {
    setObjectName(QStringLiteral("frmHelp"));
    auto* layout = new QVBoxLayout(this);
    lblHelp = new QLabel(this);
    lblHelp->setObjectName(QStringLiteral("lblHelp"));
    lblHelp->setWordWrap(true);
    lblHelp->setFrameShape(QFrame::Box);
    lblHelp->setStyleSheet(QStringLiteral("background: #ffffe1; padding: 6px;"));
    chkDontShow = new QCheckBox(QStringLiteral("Don't show this again"), this);
    chkDontShow->setObjectName(QStringLiteral("chkDontShow"));
    layout->addWidget(lblHelp);
    layout->addWidget(chkDontShow);
    connect(chkDontShow, &QCheckBox::toggled, this, &frmHelp::dontShowToggled);
    resize(320, 140);
}

void frmHelp::setText(const QString& text) {
    lblHelp->setText(text);
}

void frmHelp::setShowChkDontShow(bool show) {
    m_showChkDontShow = show;
    chkDontShow->setVisible(show);
    chkDontShow->setEnabled(show);
}

QString frmHelp::shadowHelpKey(int32_t userId) {
    return (QString::number(userId) + protocol::ShadowHelpKey).left(20);
}

bool frmHelp::shadowHelpEnabled() {
    tqGlobal::IHostServices& gic = GIC();
    return gic.GetUserSetting(protocol::UserSettingsSection + gic.GetCurrentUserName(),
                              shadowHelpKey(gic.GetCurrentUserID()), 0,
                              QStringLiteral("Y")) != QStringLiteral("N");
}

void frmHelp::dontShowToggled(bool checked) {
    if (!checked) {
        return;
    }
    const bool saved = tqplatform::ui::guard([] {
        tqGlobal::IHostServices& gic = GIC();
        gic.SaveUserSetting(protocol::UserSettingsSection + gic.GetCurrentUserName(),
                            shadowHelpKey(gic.GetCurrentUserID()), 0, QStringLiteral("N"));
    });
    if (!saved) {
        const QSignalBlocker quiet(chkDontShow);
        chkDontShow->setChecked(false);  // still shown next time: the window stays
        return;
    }
    tqplatform::ui::msgBox(
        QStringLiteral("To turn on Shadow Help, please select [Shadow Help] under the [Help] menu "
                       "or [Help] button dropdown menu on the Patient Information and Transaction "
                       "screens."),
        tqplatform::ui::Buttons::Information, QStringLiteral("Shadow Help"));
    close();
}

}  // namespace tqservicecode
