#pragma once

#include "../servicecode/ComponentFixture.h"

#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/maintenance/Edit_Ser_Code.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace tqtest {

/// The editor as its openers get it: from the screen factory, prepared and loaded.
inline std::unique_ptr<tqservicecode::Edit_Ser_Code> openEditor(int32_t id) {
    std::unique_ptr<QDialog> screen =
        tqservicecode::ScreenFactory::create(tqservicecode::ServiceCodeEditorScreenName);
    auto* editor = dynamic_cast<tqservicecode::Edit_Ser_Code*>(screen.get());
    if (editor == nullptr) {
        qFatal("the factory gave no editor");
    }
    screen.release();
    std::unique_ptr<tqservicecode::Edit_Ser_Code> owned(editor);
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

}  // namespace tqtest
