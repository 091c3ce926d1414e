#include "PickPanel.h"

#include "DemoText.h"

#include <tqservicecode/clsServiceCode.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

namespace tqdemo {

namespace {

enum AnswerColumn { IdColumn, CodeColumn, DescriptionColumn, FeeColumn };

struct FlagPreset {
    int value;
    const char* meaning;
};

/// Button masks a host typically passes.
constexpr FlagPreset kFlagPresets[] = {
    {0, "every category"},    {1, "dental procedures"},
    {4, "patient credits"},   {16, "to-do, letters, silent codes"},
    {256, "to-do list only"},
};

/// The picker's category captions, as a caller names its starting category.
const char* const kCategoryCaptions[] = {
    "Diagnostic",
    "Preventive",
    "Restorative",
    "Endodontics",
    "Periodontics",
    "Pros.Remove",
    "Maxillo. Pros.",
    "Implant",
    "Pros. Fixed",
    "Oral Surgery",
    "Orthodontics",
    "Gen. Service",
    "Patient Pays",
    "Pri. Ins. Pays",
    "Sec. Ins. Pays",
    "Discount",
    "Adjustment",
    "Reimburse",
    "NSF",
    "Refund",
    "To Do List",
    "Letter Mgmt",
    "Silent Codes",
    "All",
    "CPT",
    "ICD",
    "Tax",
};

/// The answer with its line feeds and carriage returns written as \n and \r.
QString visibleControls(QString text) {
    return text.replace(QLatin1Char('\r'), QStringLiteral("\\r"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
}

}  // namespace

QList<PickedCode> splitPickerAnswer(const QString& answer) {
    QList<PickedCode> codes;
    for (const QString& line : answer.split(QLatin1Char('\r'), Qt::SkipEmptyParts)) {
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QStringList fields = line.split(QLatin1Char('\n'));
        PickedCode code;
        code.id = fields.value(0).trimmed();
        code.code = fields.value(1).trimmed();
        code.description = fields.value(2).trimmed();
        code.fee = fields.value(3).trimmed();
        codes.append(code);
    }
    return codes;
}

PickPanel::PickPanel(tqservicecode::clsServiceCode& component, QWidget* parent)
    : QWidget(parent), m_component(component) {
    setObjectName(QStringLiteral("PickPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildOptions());
    layout->addWidget(buildAnswer(), 1);
    showAnswer(QString(), 0);
    m_count->setText(QStringLiteral("Choose a patient and press Select service codes."));
}

QWidget* PickPanel::buildOptions() {
    auto* box = new QGroupBox(QStringLiteral("Picker options"));
    auto* form = new QFormLayout(box);
    form->setLabelAlignment(Qt::AlignRight);

    m_showFlag = new QSpinBox;
    m_showFlag->setObjectName(QStringLiteral("ShowFlag"));
    m_showFlag->setRange(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
    m_flagPresets = new QComboBox;
    m_flagPresets->setObjectName(QStringLiteral("ShowFlagPresets"));
    for (const FlagPreset& preset : kFlagPresets) {
        m_flagPresets->addItem(
            QStringLiteral("%1 \u2014 %2").arg(preset.value).arg(QLatin1String(preset.meaning)),
            preset.value);
    }
    auto* flagRow = new QHBoxLayout;
    flagRow->addWidget(m_showFlag);
    flagRow->addWidget(m_flagPresets, 1);
    form->addRow(QStringLiteral("Category buttons (Show_Flag):"), flagRow);
    connect(m_showFlag, &QSpinBox::valueChanged, this, &PickPanel::showFlagChanged);
    connect(m_flagPresets, &QComboBox::activated, this,
            [this](int index) { m_showFlag->setValue(m_flagPresets->itemData(index).toInt()); });

    m_category = new QComboBox;
    m_category->setObjectName(QStringLiteral("StartCategory"));
    m_category->setEditable(true);
    m_category->setInsertPolicy(QComboBox::NoInsert);
    m_category->addItem(QString());
    for (const char* caption : kCategoryCaptions) {
        m_category->addItem(QLatin1String(caption));
    }
    m_category->lineEdit()->setPlaceholderText(QStringLiteral("the user's saved default"));
    form->addRow(QStringLiteral("Start on category:"), m_category);

    m_single = new QCheckBox(QStringLiteral("One code only (SINGLE)"));
    m_single->setObjectName(QStringLiteral("SingleSelection"));
    m_expand = new QCheckBox(QStringLiteral("Expand explosion codes into their members"));
    m_expand->setObjectName(QStringLiteral("ExpandCodes"));
    m_expand->setChecked(true);
    form->addRow(QStringLiteral("Selection:"), m_single);
    form->addRow(QString(), m_expand);

    auto* select = new QPushButton(QStringLiteral("&Select service codes\u2026"));
    select->setObjectName(QStringLiteral("SelectCodes"));
    auto* choose = new QPushButton(QStringLiteral("C&hoose category\u2026"));
    choose->setObjectName(QStringLiteral("ChooseCategory"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(select);
    buttons->addWidget(choose);
    buttons->addStretch(1);
    form->addRow(QString(), buttons);
    connect(select, &QPushButton::clicked, this, &PickPanel::selectCodes);
    connect(choose, &QPushButton::clicked, this, &PickPanel::chooseCategory);
    return box;
}

QWidget* PickPanel::buildAnswer() {
    auto* box = new QGroupBox(QStringLiteral("What the component returned"));
    auto* layout = new QVBoxLayout(box);
    m_count = new QLabel;
    m_count->setObjectName(QStringLiteral("PickCount"));
    QFont bold = m_count->font();
    bold.setBold(true);
    m_count->setFont(bold);
    layout->addWidget(m_count);

    m_codes = makeResultTable(QStringLiteral("PickAnswer"),
                              {QStringLiteral("ID"), QStringLiteral("Code"),
                               QStringLiteral("Description"), QStringLiteral("Fee")});
    fitColumns(m_codes, DescriptionColumn);
    layout->addWidget(m_codes, 1);

    auto* raw = new QHBoxLayout;
    m_rawAnswer = new QLineEdit;
    m_rawAnswer->setObjectName(QStringLiteral("RawAnswer"));
    m_rawAnswer->setReadOnly(true);
    m_rawAnswer->setToolTip(
        QStringLiteral("The answer text as returned: \\n a line feed, \\r a carriage return"));
    raw->addWidget(new QLabel(QStringLiteral("Answer text:")));
    raw->addWidget(m_rawAnswer, 1);
    layout->addLayout(raw);

    m_categoryAnswer = new QLabel(QStringLiteral("Category: not asked yet."));
    m_categoryAnswer->setObjectName(QStringLiteral("CategoryAnswer"));
    layout->addWidget(m_categoryAnswer);
    return box;
}

void PickPanel::setPatient(int32_t id, const QString& name) {
    m_patientId = id;
    m_patientName = name;
}

PickPanel::Options PickPanel::options() const {
    Options options;
    options.showFlag = static_cast<int16_t>(m_showFlag->value());
    options.category = m_category->currentText();
    options.singleSelection = m_single->isChecked();
    options.expandExplosionCodes = m_expand->isChecked();
    return options;
}

void PickPanel::setOptions(const Options& options) {
    m_showFlag->setValue(options.showFlag);
    m_category->setEditText(options.category);
    m_single->setChecked(options.singleSelection);
    m_expand->setChecked(options.expandExplosionCodes);
}

void PickPanel::selectCodes() {
    if (m_patientId == 0) {
        tqplatform::ui::msgBox(QStringLiteral("Choose a patient first."),
                               tqplatform::ui::Buttons::Information);
        return;
    }
    const Options chosen = options();
    int16_t flag = chosen.showFlag;
    int32_t patient = m_patientId;
    QString category = chosen.category;
    QString answer;
    int16_t count = 0;
    QString mode = chosen.singleSelection ? QStringLiteral("SINGLE") : QStringLiteral("MULTI");
    try {
        m_component.SelectServiceCode(flag, patient, category, answer, count, mode,
                                      chosen.expandExplosionCodes, window());
    } catch (const tqGlobal::Error& error) {
        reportFailure(QStringLiteral("The codes could not be selected"), error);
        return;
    }
    showAnswer(answer, count);
}

void PickPanel::chooseCategory() {
    QString category;
    try {
        category = m_component.SelectServiceCodeCategory();
    } catch (const tqGlobal::Error& error) {
        reportFailure(QStringLiteral("The category could not be chosen"), error);
        return;
    }
    m_categoryAnswer->setText(
        category.isEmpty() ? QStringLiteral("Category: left without choosing one.")
                           : QStringLiteral("Category chosen: \u201c%1\u201d").arg(category));
}

void PickPanel::showAnswer(const QString& answer, int16_t count) {
    const QList<PickedCode> codes = splitPickerAnswer(answer);
    if (count == 0 && codes.isEmpty()) {
        m_count->setText(QStringLiteral("No code was chosen."));
    } else {
        m_count->setText(QStringLiteral("%1 %2 returned for %3")
                             .arg(count)
                             .arg(count == 1 ? QStringLiteral("code") : QStringLiteral("codes"))
                             .arg(m_patientName));
    }
    m_codes->setRowCount(static_cast<int>(codes.size()));
    for (int row = 0; row < codes.size(); ++row) {
        const PickedCode& code = codes[row];
        setCell(m_codes, row, IdColumn, code.id, true);
        setCell(m_codes, row, CodeColumn, code.code);
        setCell(m_codes, row, DescriptionColumn, code.description);
        setCell(m_codes, row, FeeColumn,
                code.fee.isEmpty() ? QString() : QStringLiteral("$") + code.fee, true);
    }
    m_rawAnswer->setText(visibleControls(answer));
    m_rawAnswer->setCursorPosition(0);
}

void PickPanel::showFlagChanged(int value) {
    // The preset that reads the same, or none for any other mask.
    m_flagPresets->setCurrentIndex(m_flagPresets->findData(value));
}

}  // namespace tqdemo
