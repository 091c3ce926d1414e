#include <tqservicecode/selection/PickerCategories.h>

namespace tqservicecode::picker {

namespace {

const QString Charge = QStringLiteral("1 - Charge");
const QString Credit = QStringLiteral("2 - Credit");
const QString Admin = QStringLiteral("3 - Admin");

struct ButtonGroup {
    int bit;
    int first;
    int last;
};

constexpr std::array<ButtonGroup, 6> Groups = {{
    {1, 0, 11},
    {2, 24, 25},
    {4, 12, 16},
    {8, 17, 19},
    {16, 20, 22},
    {32, 26, 26},
}};

}  // namespace

const std::array<CategoryButton, ButtonCount>& categoryButtons() {
    static const std::array<CategoryButton, ButtonCount> buttons = {{
        {QStringLiteral("Diagnostic"), QStringLiteral("Diag"), Charge},
        {QStringLiteral("Preventive"), QStringLiteral("Prev"), Charge},
        {QStringLiteral("Restorative"), QStringLiteral("Rest"), Charge},
        {QStringLiteral("Endodontics"), QStringLiteral("Endo"), Charge},
        {QStringLiteral("Periodontics"), QStringLiteral("Perio"), Charge},
        {QStringLiteral("Pros.Remove"), QStringLiteral("Pros-Rem"), Charge},
        {QStringLiteral("Maxillo. Pros."), QStringLiteral("Maxil-Pros"), Charge},
        {QStringLiteral("Implant"), QStringLiteral("Implant"), Charge},
        {QStringLiteral("Pros. Fixed"), QStringLiteral("Pros-Fix"), Charge},
        {QStringLiteral("Oral Surgery"), QStringLiteral("Surgery"), Charge},
        {QStringLiteral("Orthodontics"), QStringLiteral("Ortho"), Charge},
        {QStringLiteral("Gen. Service"), QStringLiteral("Gen-Serv"), Charge},
        {QStringLiteral("Patient Pays"), QStringLiteral("Pat. Pay"), Credit},
        {QStringLiteral("Pri. Ins. Pays"), QStringLiteral("Pri. Ins."), Credit},
        {QStringLiteral("Sec. Ins. Pays"), QStringLiteral("Sec. Ins."), Credit},
        {QStringLiteral("Discount"), QStringLiteral("Discount"), Credit},
        {QStringLiteral("Adjustment"), QStringLiteral("Adjustment"), Credit},
        {QStringLiteral("Reimburse"), QStringLiteral("Reimburse"), Charge},
        {QStringLiteral("NSF"), QStringLiteral("NSF"), Charge},
        {QStringLiteral("Refund"), QStringLiteral("Refund"), Admin},
        {QStringLiteral("To Do List"), QStringLiteral("Pat. Mgmt"), Admin},
        {QStringLiteral("Letter Mgmt"), QStringLiteral("Ltr. Mgmt"), Admin},
        {QStringLiteral("Silent Codes"), QStringLiteral("Silent"), Admin},
        {QStringLiteral("All"), QString(), QString()},
        {QStringLiteral("CPT"), QStringLiteral("CPT"), Charge},
        {QStringLiteral("ICD"), QStringLiteral("ICD"), Charge},
        {QStringLiteral("Tax"), QStringLiteral("Tax"), Charge},
    }};
    return buttons;
}

void applyShowFlag(int16_t showFlag, EnabledButtons& enabled) {
    if (showFlag == 256) {
        for (int i = 0; i < ButtonCount; ++i) {
            enabled[i] = i == ToDoListButton;
        }
        return;
    }
    if (showFlag == 0 || showFlag >= 63) {
        return;
    }
    enabled[AllButton] = false;
    for (const ButtonGroup& group : Groups) {
        if ((showFlag & group.bit) == 0) {
            for (int i = group.first; i <= group.last; ++i) {
                enabled[i] = false;
            }
        }
    }
}

int16_t normalisedShowFlag(int16_t showFlag) {
    return showFlag >= 63 ? int16_t{0} : showFlag;
}

int buttonForCategory(const QString& category) {
    const QString wanted = category.trimmed().toUpper();
    const auto& buttons = categoryButtons();
    for (int i = 0; i < ButtonCount; ++i) {
        if (buttons[i].caption.trimmed().toUpper() == wanted) {
            return i;
        }
    }
    return FallbackButton;
}

int startingButton(int chosen, const EnabledButtons& enabled) {
    if (chosen >= 0 && chosen < ButtonCount && enabled[chosen]) {
        return chosen;
    }
    for (int i = 0; i < ButtonCount; ++i) {
        if (enabled[i]) {
            return i;
        }
    }
    return chosen;
}

QString sortClauseFor(const QString& category) {
    return category == QStringLiteral("Pat. Mgmt") ? QStringLiteral("ORDER BY sevcodDes")
                                                   : QStringLiteral("ORDER BY sevcodCod");
}

}  // namespace tqservicecode::picker
