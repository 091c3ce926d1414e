#pragma once

#include <tqplatform/tqplatform_export.h>

#include <tqplatform/ui.h>

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

namespace tqplatform {

/// Answers the UI seam from a script for the lifetime of the object:
///
///     tqplatform::ScriptedUi ui;
///     ui.answers = {6, 7};              // next message boxes answer Yes, then No
///     ui.inputs = {"crown"};            // next input box answers "crown"
///     ui.onShow("Select_Code", [](QDialog& f) { ... click real buttons ... });
///     ui.messages;                      // every box shown
///
/// A box with no scripted answer takes its default button; an input box with none is
/// cancelled; a screen with no handler is closed as with its close box.
class TQPLATFORM_EXPORT ScriptedUi : public ui::Backend {
public:
    struct Message {
        QString prompt;
        QString title;
        int buttons = 0;        // the button set (0..5)
        int icon = 0;           // 16, 32, 48, 64 or 0
        int defaultButton = 1;  // 1, 2 or 3
        int answer = 0;
    };
    struct Input {
        QString prompt;
        QString title;
        QString defaultText;
        QString answer;
    };
    using Handler = std::function<void(QDialog&)>;

    ScriptedUi();
    ~ScriptedUi() override;
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    QList<int> answers;
    QStringList inputs;
    QList<Message> messages;
    QList<Input> inputBoxes;
    /// Object names of the screens shown, in order.
    QStringList shownScreens;

    /// Runs handler each time a screen whose objectName is name is shown modally.
    void onShow(const QString& name, Handler handler);
    /// Runs handler only for the next showing of name.
    void onShowOnce(const QString& name, Handler handler);

    /// The prompts of every box shown.
    QStringList prompts() const;

    int msgBox(const QString& prompt, int buttons, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    int showModal(QDialog& dialog, QWidget* owner) override;

    /// The answer a box takes when nothing is scripted: its default button.
    static int defaultAnswer(int buttons);

private:
    ui::Backend* m_previous = nullptr;
    QMap<QString, Handler> m_handlers;
    QMap<QString, QList<Handler>> m_onceHandlers;
};

}  // namespace tqplatform
