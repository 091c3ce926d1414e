#include <tqservicecode/forms/MainForm.h>

#include <tqservicecode/core/ComponentContext.h>

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace tqservicecode {

QWidget* MainForm() {
    thread_local QPointer<QWidget> cached;
    if (cached.isNull() && hasGIC()) {
        if (QWidget* window = GIC().GetMainForm()) {
            cached = window;
        }
    }
    return cached.data();
}

QWidget* ActiveForm() {
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    return MainForm();
}

}  // namespace tqservicecode
