#pragma once

#include "../servicecode/ComponentFixture.h"

#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/maintenance/Edit_Ser_Code.h>

#include <tqplatform/ScriptedUi.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace tqtest {

/// The editor as its openers get it: from the screen factory, prepared and loaded.
inline std::unique_ptr<tqservicecode::Edit_Ser_Code> openEditor(int32_t id) {
    std::unique_ptr<tqservicecode::Edit_Ser_Code> owned(dynamic_cast<tqservicecode::Edit_Ser_Code*>(
        tqservicecode::ScreenFactory::create(tqservicecode::ServiceCodeEditorScreenName)
            .release()));
    if (!owned) {
        qFatal("the factory gave no editor");
    }
    owned->setSevCodID(id);
    owned->Init_Data();
    owned->show();
    return owned;
}

inline QLineEdit* box(QWidget& editor, int index) {
    return control<QLineEdit>(editor, QStringLiteral("Text1_ES_%1").arg(index));
}
inline QPushButton* button(QWidget& editor, const QString& name) {
    return control<QPushButton>(editor, name);
}
inline QRadioButton* option(QWidget& editor, int index) {
    return control<QRadioButton>(editor, QStringLiteral("Option3D1_ES_%1").arg(index));
}
/// Presses a selection button (0 type, 1 category, 2 sub-category) and clicks the entry.
inline void choose(QWidget& editor, int selection, const QString& entry) {
    button(editor, QStringLiteral("Command3D1_ES_%1").arg(selection))->click();
    auto* list = control<QListWidget>(editor, QStringLiteral("List1_ES"));
    const auto found = list->findItems(entry, Qt::MatchExactly);
    if (found.isEmpty()) {
        qFatal("no entry %s", qPrintable(entry));
    }
    emit list->itemClicked(found.first());
}
/// Types into a box and leaves it, as the user does.
inline void typeAndLeave(QWidget& editor, int index, const QString& text) {
    QLineEdit* edit = box(editor, index);
    edit->setFocus();
    edit->setText(text);
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(edit, &out);
}

/// One column of a code as the database holds it, trimmed.
inline QString codeColumn(ComponentFixture& f, int32_t id, const QString& name) {
    return f.scalar("SELECT " + name + " FROM SevCodTable WHERE SevCodID=" + QString::number(id))
        .toString()
        .trimmed();
}

/// The four fees of a code as the database holds them ("null" for none).
inline QStringList storedFees(ComponentFixture& f, int32_t id) {
    QStringList fees;
    for (int n = 1; n <= 4; ++n) {
        const QVariant fee = f.scalar(
            QString("SELECT SevCodFee%1 FROM SevCodTable WHERE SevCodID = %2").arg(n).arg(id));
        fees << (fee.isNull() ? QString("null")
                              : QString::number(fee.toString().toDouble(), 'f', 4));
    }
    return fees;
}

/// Answers the host's fee-change dialog with a percentage typed in, or cancels it ("").
inline void answerFeeDialog(tqplatform::ScriptedUi& ui, const QString& percent,
                            bool round = false) {
    ui.onShow("FeeChangeDialog", [=](QDialog& dialog) {
        if (percent.isEmpty()) {
            control<QPushButton>(dialog, "cmdCancel")->click();
            return;
        }
        control<QLineEdit>(dialog, "txtPercent")->setText(percent);
        control<QCheckBox>(dialog, "chkRound")->setChecked(round);
        control<QPushButton>(dialog, "cmdOK")->click();
    });
}

}  // namespace tqtest
