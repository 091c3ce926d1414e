#pragma once

#include <QCalendarWidget>
#include <QDate>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

/// Answers for the screens of a posting, driven through their real controls.
namespace tqtest {

/// Clicks the visible button whose caption is text; false when there is none.
inline bool clickButton(QDialog& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text && button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

/// The provider list: chooses the entry of person id and presses OK.
inline void chooseProvider(QDialog& dialog, int32_t id) {
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstDoc"));
    for (int row = 0; list != nullptr && row < list->count(); ++row) {
        if (list->item(row)->data(Qt::UserRole).toInt() == id) {
            list->setCurrentRow(row);
        }
    }
    clickButton(dialog, QStringLiteral("&OK"));
}

/// The calendar: selects date and presses OK.
inline void chooseDate(QDialog& dialog, const QDate& date) {
    if (auto* calendar = dialog.findChild<QCalendarWidget*>()) {
        calendar->setSelectedDate(date);
    }
    clickButton(dialog, QStringLiteral("&OK"));
}

/// The host's text entry: types text and presses OK.
inline void enterText(QDialog& dialog, const QString& text) {
    if (auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("txtText"))) {
        field->setText(text);
    }
    if (auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))) {
        ok->click();
    }
}

}  // namespace tqtest
