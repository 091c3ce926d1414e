#include "CodesMenu.h"

#include <tqservicecode/documents/DocumentPickerScreen.h>
#include <tqservicecode/forms/ScreenFactory.h>

#include <tqhost/PracticeHost.h>
#include <tqplatform/ui.h>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QMenu>

namespace tqdemo {

namespace {

/// Opens the document picker on the practice's letters and shows the file chosen.
void chooseLetter(tqhost::PracticeHost& host) {
    std::unique_ptr<QDialog> screen =
        tqservicecode::ScreenFactory::create(tqservicecode::DocumentPickerScreenName);
    auto* picker = dynamic_cast<tqservicecode::DocumentPickerScreen*>(screen.get());
    if (picker == nullptr) {
        tqplatform::ui::msgBox(QStringLiteral("The document picker is not available."), 64,
                               QStringLiteral("Choose a letter"));
        return;
    }
    picker->setFilePattern(QStringLiteral("*.RTF"));
    picker->setDirPath(QStringLiteral("WP\\"));
    picker->setInitialParm(true);
    tqplatform::ui::showModal(*screen, host.GetMainForm());
    const QString chosen = picker->SelFiels();
    tqplatform::ui::msgBox(
        chosen.isEmpty()
            ? QStringLiteral("No letter was chosen.")
            : QStringLiteral("Chosen letter: ") + chosen + QStringLiteral("\r\n\r\nin ") +
                  QDir::toNativeSeparators(host.GetDataPath() + QStringLiteral("WP/")),
        64, QStringLiteral("Choose a letter"));
}

}  // namespace

void addLetterActions(QMenu& menu, const CodesMenuContext& context) {
    QAction* choose = menu.addAction(QStringLiteral("Choose a &letter..."));
    choose->setObjectName(QStringLiteral("actChooseLetter"));
    tqhost::PracticeHost* host = &context.host;
    QObject::connect(choose, &QAction::triggered, &menu,
                     [host] { tqplatform::ui::guard([host] { chooseLetter(*host); }); });
}

}  // namespace tqdemo
