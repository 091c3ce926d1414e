// A second workstation for the posting tests: opens the practice database as a host of
// its own and posts to-do items for a patient, answering the screens as a user would.
// Usage: tq_post_agent URL DATAPATH USER PATIENT PROVIDER CODE COUNT
// Prints the new transaction ids, one a line; exits 1 when any posting failed.
#include "../servicecode/PostingScript.h"

#include <tqhost/Host.h>
#include <tqservicecode/clsServiceCode.h>

#include <tqplatform/Currency.h>
#include <tqplatform/ScriptedUi.h>
#include <tqplatform/ui.h>

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    tqplatform::registerCurrencyMetaType();
    tqplatform::ui::setRealDialogsForbidden(true);
    const QStringList args = app.arguments();
    if (args.size() != 8) {
        std::fprintf(stderr,
                     "usage: tq_post_agent URL DATAPATH USER PATIENT PROVIDER CODE COUNT\n");
        return 2;
    }
    const int32_t patient = args[4].toInt();
    const int32_t provider = args[5].toInt();
    const int count = args[7].toInt();
    try {
        auto host = tqhost::createHost(args[1], args[2], args[3]);
        tqservicecode::clsServiceCode component;
        component.setGIC(host);
        tqplatform::ScriptedUi ui;
        ui.onShow("DocList", [&](QDialog& d) { tqtest::chooseProvider(d, provider); });
        ui.onShow("Calendar", [](QDialog& d) { tqtest::chooseDate(d, QDate(2027, 1, 15)); });
        int failures = 0;
        for (int i = 0; i < count; ++i) {
            const QString description = QStringLiteral("%1 item %2").arg(args[3]).arg(i);
            ui.onShow("TextEntryDialog",
                      [description](QDialog& d) { tqtest::enterText(d, description); });
            QString comment = QStringLiteral("from ") + args[3];
            const int32_t id = component.SendPatientManagementCode(comment, patient, args[6]);
            std::printf("%d\n", id);
            failures += id > 0 ? 0 : 1;
        }
        component.setGIC(nullptr);
        return failures == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
