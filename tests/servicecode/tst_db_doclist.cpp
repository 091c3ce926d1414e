#include "ComponentFixture.h"
#include "Files.h"
#include "TestMain.h"

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/patient/DocList.h>
#include <tqservicecode/patient/ProviderList.h>
#include <tqservicecode/patient/SelectToDoProvider.h>

#include <tqplatform/ScriptedUi.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSet>

using tqplatform::ScriptedUi;
using namespace tqservicecode;

namespace {

DocList& docList(QDialog& dialog) {
    return dynamic_cast<DocList&>(dialog);
}

QListWidget* entries(const DocList& form) {
    return tqtest::control<QListWidget>(form, "lstDoc");
}

int32_t idAt(const DocList& form, int row) {
    return entries(form)->item(row)->data(Qt::UserRole).toInt();
}

QPoint entryCentre(const DocList& form, int row) {
    return entries(form)->visualItemRect(entries(form)->item(row)).center();
}

/// Employees of both list types, inserted with the second type first, people who are not
/// employees, and a name that must be cut.
struct StaffPractice : tqtest::ComponentFixture {
    int32_t nair = 0, whitfield = 0, kowalski = 0, lee = 0, longName = 0;

    bool setUp() {
        if (!open()) {
            return false;
        }
        nair = person("Nair", "Priya", "CDA", "PN", "2");
        whitfield = person("Whitfield", "Dana", "Office Mgr", "DW", "1");
        person("Okafor", "Ruth", "DDS", "RO", "0");
        kowalski = person("Kowalski", "Tom", "Front Desk", "TK", "2");
        insert("PaTable", "pID", {{"pLasNam", "Patient"}, {"pTypPat", "1"}});
        lee = person("Lee", "Marcus", "RDH", "ML", "1");
        longName = person("Vanderhoeven-Castellanos-Ruiz", "Maximiliana Josefina", "Hygienist",
                          "MVC", "2");
        return true;
    }

    int32_t person(const QString& last, const QString& first, const QString& title,
                   const QString& initials, const QString& type) {
        return insert("PaTable", "pID",
                      {{"pLasNam", last},
                       {"pFirNam", first},
                       {"pProTTL", title},
                       {"pDocIni", initials},
                       {"pTypEmp", type}});
    }

    QString sizeFile() const { return QDir(db.dataPath()).filePath("STP/DLEMPtester.STP"); }
};

}  // namespace

class DocListTest : public QObject {
    Q_OBJECT

private slots:
    void init() { setScreenResultText(QString()); }

    void listShowsTypeOneThenTypeTwo() {
        TQ_SET_UP_FIXTURE(StaffPractice, f);
        f.host->setScreenParameter("BUTTONS");
        bool shown = false;
        ScriptedUi ui;
        ui.onShow("DocList", [&](QDialog& dialog) {
            DocList& form = docList(dialog);
            shown = true;
            QCOMPARE(form.windowTitle(), QStringLiteral("Select a ToDoList Provider"));
            QCOMPARE(f.host->ScreenNumber(), 0);
            QCOMPARE(f.host->ScreenParameter(), QStringLiteral("CANCEL"));
            QCOMPARE(entries(form)->count(), 5);
            // Within a type the order is the database's; across types it is fixed.
            QCOMPARE(QSet<int32_t>({idAt(form, 0), idAt(form, 1)}),
                     QSet<int32_t>({f.whitfield, f.lee}));
            QCOMPARE(QSet<int32_t>({idAt(form, 2), idAt(form, 3), idAt(form, 4)}),
                     QSet<int32_t>({f.nair, f.kowalski, f.longName}));
            for (int row = 0; row < 5; ++row) {
                const QString text = entries(form)->item(row)->text();
                if (idAt(form, row) == f.whitfield) {
                    QCOMPARE(text, "Whitfield, Dana Office Mgr" + QString(14, ' ') + "\tDW");
                } else if (idAt(form, row) == f.longName) {
                    QCOMPARE(text, QStringLiteral("Vanderhoeven-Castellanos-Ruiz, Maximilia\tMVC"));
                }
            }
            // The first entry is highlighted: OK answers what the user sees.
            QVERIFY(entries(form)->item(0)->isSelected());
            tqtest::control<QPushButton>(form, "cmdClose")->click();
        });
        f.host->setScreenNumber(77);
        QCOMPARE(SelectToDoProvider(), 0);
        QVERIFY(shown);
    }

    void answers_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("row");  // the entry whose id is answered; -1 for 0
        QTest::newRow("OK") << "ok" << 1;
        QTest::newRow("OK on the first entry") << "ok first" << 0;
        QTest::newRow("double-click") << "double-click" << 2;
        QTest::newRow("Enter on the list") << "enter" << 1;
        QTest::newRow("Close") << "close" << -1;
        QTest::newRow("Escape") << "escape" << -1;
        QTest::newRow("close box") << "" << -1;
    }

    void answers() {
        QFETCH(QString, action);
        QFETCH(int, row);
        TQ_SET_UP_FIXTURE(StaffPractice, f);
        f.host->setSelectedID(987654);  // an earlier screen's answer must not come back
        int32_t expected = 0;
        ScriptedUi ui;
        if (!action.isEmpty()) {
            ui.onShow("DocList", [&](QDialog& dialog) {
                DocList& form = docList(dialog);
                QWidget* viewport = entries(form)->viewport();
                expected = row < 0 ? 0 : idAt(form, row);
                if (action == "ok" || action == "double-click" || action == "enter") {
                    QTest::mouseClick(viewport, Qt::LeftButton, {}, entryCentre(form, row));
                }
                if (action == "ok" || action == "ok first") {
                    QTest::mouseClick(tqtest::control<QPushButton>(form, "cmdOK"), Qt::LeftButton);
                } else if (action == "double-click") {
                    QTest::mouseDClick(viewport, Qt::LeftButton, {}, entryCentre(form, row));
                } else if (action == "enter") {
                    QTest::keyClick(entries(form), Qt::Key_Return);
                } else if (action == "close") {
                    QTest::mouseClick(tqtest::control<QPushButton>(form, "cmdClose"),
                                      Qt::LeftButton);
                } else if (action == "escape") {
                    QTest::keyClick(entries(form), Qt::Key_Escape);
                }
                QVERIFY(!form.isVisible());
            });
        }
        const int32_t answer = SelectToDoProvider();
        QVERIFY(row < 0 || expected != 0);
        QCOMPARE(answer, expected);
        QCOMPARE(ScreenResultText(), row < 0 ? QStringLiteral("CANCEL_BUTTON") : QString());
    }

    void cancelMarkIsClearedByTheNextOpening() {
        TQ_SET_UP_FIXTURE(StaffPractice, f);
        ScriptedUi ui;
        setScreenResultText("CANCEL_BUTTON");  // as a closed list leaves it: answers()
        QString seenWhileOpen;
        ui.onShow("DocList", [&](QDialog& dialog) {
            seenWhileOpen = ScreenResultText();
            tqtest::control<QPushButton>(dialog, "cmdOK")->click();
        });
        QVERIFY(SelectToDoProvider() != 0);
        QCOMPARE(seenWhileOpen, QString());
        // Only the cancel mark is cleared: another screen's answer stays.
        setScreenResultText("03-15-2026");
        SelectToDoProvider();
        QCOMPARE(seenWhileOpen, QStringLiteral("03-15-2026"));
    }

    void aListThatCannotBeReadIsTold() {
        TQ_SET_UP_FIXTURE(StaffPractice, f);
        f.useFaultyHost()->failOn = "PATABLE";
        ScriptedUi ui;
        QCOMPARE(SelectToDoProvider(), 0);
        QCOMPARE(ui.prompts(), QStringList{"The list of people could not be read, so it is "
                                           "empty.\r\n\r\ninjected fault"});
    }

    void sizeFileIsWrittenAndReadBack() {
        TQ_SET_UP_FIXTURE(StaffPractice, f);
        const QSize designed = DocList().size();
        QSize seen;
        ScriptedUi ui;
        // Closing writes "height,width," in twips (15 a pixel here); the next opening
        // applies it.
        ui.onShowOnce("DocList", [&](QDialog& dialog) {
            seen = dialog.size();
            dialog.resize(500, 380);
            tqtest::control<QPushButton>(dialog, "cmdClose")->click();
        });
        SelectToDoProvider();
        QCOMPARE(seen, designed);
        QCOMPARE(tqtest::readFile(f.sizeFile()), QByteArray("5700,7500,\r\n"));
        ui.onShowOnce("DocList", [&](QDialog& dialog) {
            seen = dialog.size();
            dialog.resize(460, 400);
            tqtest::control<QPushButton>(dialog, "cmdOK")->click();
        });
        SelectToDoProvider();
        QCOMPARE(seen, QSize(500, 380));
        QCOMPARE(tqtest::readFile(f.sizeFile()), QByteArray("6000,6900,\r\n"));

        // A size larger than the screen is reduced to it.
        QVERIFY(tqtest::writeFile(f.sizeFile(), "90000,120000,\r\n"));
        ui.onShowOnce("DocList", [&](QDialog& dialog) { seen = dialog.size(); });
        SelectToDoProvider();
        QCOMPARE(seen, QGuiApplication::primaryScreen()->availableGeometry().size());

        // An unreadable file, or none, leaves the designed size.
        for (const char* content : {"6000\r\n", ""}) {
            QVERIFY(*content ? tqtest::writeFile(f.sizeFile(), content)
                             : QFile::remove(f.sizeFile()));
            ui.onShowOnce("DocList", [&](QDialog& dialog) { seen = dialog.size(); });
            SelectToDoProvider();
            QCOMPARE(seen, designed);
        }
    }
};

TQ_TEST_MAIN(DocListTest)
#include "tst_db_doclist.moc"
