#pragma once

#include <QString>

/// The texts the component and its host exchange: screen parameters and returns, the
/// settings it keeps through the host, and the object names of its screens (which host
/// tests and ScriptedUi handlers match). Each value is spelled here only.
namespace tqservicecode::protocol {

/// ScreenParameter: opens the picker as the category chooser (its buttons only).
inline const QString Buttons = QStringLiteral("BUTTONS");
/// ScreenParameter after the category chooser, and the default category: every category.
inline const QString AllCategories = QStringLiteral("ALL");
/// The selection mode that lets the picker return one code only.
inline const QString SingleSelection = QStringLiteral("SINGLE");
/// ScreenReturn: the user asked to edit the chosen service code.
inline const QString EditServiceCode = QStringLiteral("EDIT_SERVICE_CODE");
/// ScreenParameter of the provider list: the list was left without a choice.
inline const QString Cancel = QStringLiteral("CANCEL");
/// ScreenResultText of the provider list: its Cancel button was pressed.
inline const QString CancelButton = QStringLiteral("CANCEL_BUTTON");
/// ScreenParameter of the calendar: the date face with the ScreenText as its title.
inline const QString GetTitle = QStringLiteral("GET_TITLE");
/// ScreenParameter of the calendar: the calculator face.
inline const QString Calculator = QStringLiteral("CALCULATOR");

/// The section of per-user settings: this text followed by the user's name.
inline const QString UserSettingsSection = QStringLiteral("USER_DEF_SETUP");
/// The picker's default category, in the user's section.
inline const QString DefaultCategoryKey = QStringLiteral("SER_COD_DEF_CAT");
/// Whether the help shadow window is shown: the user's id followed by this text.
inline const QString ShadowHelpKey = QStringLiteral("SHADOW_HELP");

/// The object names of the component's screens.
namespace screen {
inline const QString SelectCode = QStringLiteral("Select_Code");
inline const QString DocList = QStringLiteral("DocList");
inline const QString Calendar = QStringLiteral("Calendar");
inline const QString CodeSearch = QStringLiteral("frmSearchSCode");
inline const QString ReferenceCodes = QStringLiteral("frmCodes");
inline const QString ServiceCodeEditor = QStringLiteral("Edit_Ser_Code");
inline const QString ServiceCodeBrowser = QStringLiteral("SerCod");
inline const QString FeeChange = QStringLiteral("FeeChange");
inline const QString DocumentPicker = QStringLiteral("FileSearch");
inline const QString ExportOptions = QStringLiteral("frmExportOpts");
}  // namespace screen

}  // namespace tqservicecode::protocol
