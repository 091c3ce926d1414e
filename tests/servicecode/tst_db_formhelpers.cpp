#include "ComponentFixture.h"
#include "Faults.h"
#include "TestMain.h"

#include <tqservicecode/forms/BusyMessage.h>
#include <tqservicecode/forms/CenterForm.h>
#include <tqservicecode/forms/ContextHelp.h>
#include <tqservicecode/forms/FormIcon.h>
#include <tqservicecode/forms/HelpFile.h>
#include <tqservicecode/forms/HelpWindow.h>
#include <tqservicecode/forms/MainForm.h>
#include <tqservicecode/forms/MouseTracking.h>
#include <tqservicecode/forms/PathHelpers.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/forms/frmHelp.h>
#include <tqservicecode/reference/ReferenceCodeScreen.h>
#include <tqservicecode/reference/ReferenceCodesLauncher.h>
#include <tqservicecode/selection/Select_Code.h>

#include <tqplatform/ScriptedUi.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>

using namespace tqservicecode;

namespace {

QWidget* topLevel(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}

}  // namespace

class FormHelpersTest : public QObject {
    Q_OBJECT

private slots:
    void helpOpensTheTopicOrTheContents() {
        TQ_FIXTURE(f);
        QCOMPARE(helpFileFor(true, "/opt/tavix/"), QStringLiteral("/opt/tavix/ZID.CHM"));
        QCOMPARE(helpFileFor(false, "/opt/tavix/"), QStringLiteral("/opt/tavix/TAVIXWIN.CHM"));

        ShowHelpContext(nullptr, 848);
        QVERIFY(HelpWindow::instance().isVisible());
        QVERIFY(HelpWindow::instance().currentPage().endsWith("TAVIXWIN.CHM/848.html"));
        ShowHelpContext(nullptr, 4242);  // no such topic: the contents
        QVERIFY(HelpWindow::instance().currentPage().endsWith("TAVIXWIN.CHM/index.html"));

        // A help folder in the program folder wins over the built-in pages.
        QTemporaryDir program;
        QDir(program.path()).mkpath("TAVIXWIN.CHM");
        QFile page(program.path() + "/TAVIXWIN.CHM/848.html");
        QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<p>own</p>") > 0);
        page.close();
        QCOMPARE(helpTopicPage(program.path() + "/TAVIXWIN.CHM", 848), page.fileName());
        QCOMPARE(helpTopicPage(program.path() + "/TAVIXWIN.CHM", 1062), QString());

        // Controls take the form's context, labels and lines none; F1 shows the focused one's.
        QDialog form;
        auto* label = new QLabel("A label", &form);
        auto* line = new QFrame(&form);
        line->setFrameShape(QFrame::HLine);
        auto* edit = new QLineEdit(&form);
        SetHelpContext(&form, 1062);
        QCOMPARE(QList<int>({helpContextOf(&form), helpContextOf(edit), helpContextOf(label),
                             helpContextOf(line)}),
                 QList<int>({1062, 1062, 0, 0}));

        form.show();
        edit->setProperty("HelpContextID", 848);
        edit->setFocus();
        QApplication::setActiveWindow(&form);
        QTest::keyClick(edit, Qt::Key_F1);  // F1 on a form: its help
        QVERIFY(HelpWindow::instance().currentPage().endsWith("/848.html"));
        edit->setProperty("HelpContextID", 0);  // no context of its own: the form's
        ShowContextHelp(&form);
        QVERIFY(HelpWindow::instance().currentPage().endsWith("/1062.html"));
        HelpWindow::instance().close();
    }

    void eachScreenHasItsOwnHelpOverIt_data() {
        QTest::addColumn<int>("page");  // the row's tag is the screen
        QTest::newRow("SerCod") << 1062;
        QTest::newRow("Select_Code") << 1061;
        QTest::newRow("Edit_Ser_Code") << 1064;
        QTest::newRow("frmCodes") << 1066;
        QTest::newRow("frmSearchSCode") << 1067;
        QTest::newRow("FileSearch") << 1068;
        QTest::newRow("frmExportOpts") << 1069;
    }

    void eachScreenHasItsOwnHelpOverIt() {
        QFETCH(int, page);
        const QString screen = QTest::currentDataTag();
        TQ_FIXTURE(f);
        tqplatform::ScriptedUi ui;
        std::unique_ptr<QDialog> form = screen == "Select_Code" ? std::make_unique<Select_Code>()
                                                                : ScreenFactory::create(screen);
        const QRect room = form->screen()->availableGeometry();
        form->setGeometry(room.left() + 60, room.top() + 40, room.width() - 90, room.height() - 60);
        form->show();
        QApplication::setActiveWindow(form.get());
        if (auto* help = form->findChild<QAction*>("Help")) {  // its Help button, else F1
            help->trigger();
        } else {
            QTest::keyClick(form.get(), Qt::Key_F1);
        }
        HelpWindow& help = HelpWindow::instance();
        QVERIFY(help.isVisible() && help.currentPage().endsWith(QString("/%1.html").arg(page)));
        // Whole on the screen, title bar and all, centred over its screen as room allows.
        const QRect placed = help.frameGeometry();
        QVERIFY(room.contains(placed) && form->frameGeometry().contains(placed.center()));
        QVERIFY(qAbs(placed.center().y() - form->frameGeometry().center().y()) <= 24);
        QTest::keyClick(&help, Qt::Key_Escape);
        QVERIFY(!help.isVisible());
    }

    void placementIconAndMouse() {
        TQ_FIXTURE(f);
        QWidget owner;
        QDialog form(&owner);
        form.resize(300, 200);
        form.move(0, 0);
        form.show();
        CenterForm(&form);
        QVERIFY((form.frameGeometry().center() - form.screen()->geometry().center())
                    .manhattanLength() <= 4);

        form.move(5, 7);
        form.setWindowState(Qt::WindowMinimized);
        CenterForm(&form);
        QCOMPARE(form.pos(), QPoint(5, 7));

        SetFormIcon(&form, "APPICON");
        QVERIFY(!form.windowIcon().isNull() && !owner.windowIcon().isNull());

        QVERIFY(MouseMovedToNewWindow());
        QVERIFY(!MouseMovedToNewWindow());
    }

    void busyMessage() {
        TQ_FIXTURE(f);
        QCOMPARE(busyMessageHtml("Loading codes//please wait\r\nalmost"),
                 QStringLiteral("Loading codes<br>please wait<br>almost"));
        ShowBusyMessage("Loading codes//please wait", 0, 0, 2880, 720);
        QWidget* window = topLevel("BusyMessage");
        QCOMPARE(window->findChild<QLabel*>("lblMessage")->text(),
                 QStringLiteral("Loading codes<br>please wait"));
        QCOMPARE(window->width(), 192);  // 2880 twips at 96 dots an inch
        ShowBusyMessage("Almost done");
        QCOMPARE(topLevel("BusyMessage"), window);  // kept and updated
        ShowBusyMessage("");
        QCOMPARE(topLevel("BusyMessage"), nullptr);
    }

    void shadowHelpCanBeTurnedOff() {
        TQ_FIXTURE(f);
        f.host->setCurrentUser("tester", 123456789);
        tqplatform::ScriptedUi ui;
        QCOMPARE(frmHelp::shadowHelpKey(123456789), QStringLiteral("123456789SHADOW_HELP"));
        QCOMPARE(frmHelp::shadowHelpKey(1234567890), QStringLiteral("1234567890SHADOW_HEL"));
        QVERIFY(frmHelp::shadowHelpEnabled());
        frmHelp window;
        window.setShowChkDontShow(false);
        QVERIFY(!tqtest::control<QCheckBox>(window, "chkDontShow")->isEnabled());
        window.setShowChkDontShow(true);
        window.show();
        tqtest::failStatements(f.host->connection(), "UserSetting", "INSERT");
        tqtest::control<QCheckBox>(window, "chkDontShow")
            ->click();  // refused: the user is told, the window stays unticked
        QVERIFY(window.isVisible() &&
                !tqtest::control<QCheckBox>(window, "chkDontShow")->isChecked());
        QCOMPARE(ui.messages.takeFirst().icon, 16);
        tqtest::stopFailingStatements(f.host->connection(), "UserSetting", "INSERT");
        tqtest::control<QCheckBox>(window, "chkDontShow")->click();
        QVERIFY(!window.isVisible() && !frmHelp::shadowHelpEnabled());
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].title + QString::number(ui.messages[0].icon), "Shadow Help64");
        QCOMPARE(ui.messages[0].prompt,
                 QStringLiteral("To turn on Shadow Help, please select [Shadow Help] under the "
                                "[Help] menu or [Help] button dropdown menu on the Patient "
                                "Information and Transaction screens."));
    }

    void referenceCodesOpenThroughTheirScreen() {
        TQ_FIXTURE(f);
        struct FakeCodes : QDialog, ReferenceCodeScreen {
            void SetupScreen(int32_t type, const QString& text) override {
                setProperty("setup", QString::number(type) + ":" + text);
            }
        };
        QString setup;
        ScreenFactory::Registration codes(ReferenceCodeScreenName,
                                          [] { return std::make_unique<FakeCodes>(); });
        tqplatform::ScriptedUi ui;
        ui.onShow("frmCodes", [&](QDialog& d) { setup = d.property("setup").toString(); });
        ShowReferenceCodes(2, "diabetes");
        QCOMPARE(ui.shownScreens, QStringList{"frmCodes"});
        QCOMPARE(setup, QStringLiteral("2:diabetes"));
    }

    void paths() {
        // Only nativeRelative builds the files the component writes; the other helpers
        // answer as the shell does.
        const QString sep = QDir::separator();
        QCOMPARE(path::nativeRelative("TEMP\\PR"), "TEMP" + sep + "PR");
        QCOMPARE(path::fileName("C:\\data\\STP\\TG.STP") + path::extension("/a.d/x.y.rtf"),
                 "TG.STP.rtf");
        QCOMPARE(path::append("/data/", "/STP") + path::removeBackslash("/data//"),
                 "/data/STP/data");
    }
};

TQ_TEST_MAIN(FormHelpersTest)
#include "tst_db_formhelpers.moc"
