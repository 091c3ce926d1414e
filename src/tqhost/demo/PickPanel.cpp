#include "PickPanel.h"

#include "ChargePosting.h"
#include "DemoText.h"

#include <tqplatform/ui.h>
#include <tqservicecode/clsServiceCode.h>
#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/selection/PickerCategories.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tqdemo {

namespace {

enum AnswerColumn { IdColumn, CodeColumn, DescriptionColumn, FeeColumn };

struct Offer {
    int mask;
    const char* words;
};

/// The button masks a host typically passes, in the words of the front desk.
constexpr Offer kOffers[] = {
    {0, "All categories"},
    {1, "Dental procedures"},
    {2, "Medical codes (CPT, ICD)"},
    {4, "Payments and credits"},
    {16, "To-do items, letters and silent codes"},
    {256, "The to-do list only"},
};

}  // namespace

QList<PickedCode> splitPickerAnswer(const QString& answer) {
    QList<PickedCode> codes;
    for (const QString& line : answer.split(QLatin1Char('\r'), Qt::SkipEmptyParts)) {
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QStringList fields = line.split(QLatin1Char('\n'));
        codes.append({fields.value(0).trimmed(), fields.value(1).trimmed(),
                      fields.value(2).trimmed(), fields.value(3).trimmed()});
    }
    return codes;
}

QString categoryCaption(const QString& storedCategory) {
    namespace picker = tqservicecode::picker;
    const QString wanted = storedCategory.trimmed();
    if (wanted.compare(tqservicecode::protocol::AllCategories, Qt::CaseInsensitive) == 0) {
        return picker::categoryButtons()[picker::AllButton].caption;
    }
    for (const picker::CategoryButton& button : picker::categoryButtons()) {
        if (!wanted.isEmpty() && button.category.compare(wanted, Qt::CaseInsensitive) == 0) {
            return button.caption;
        }
    }
    return storedCategory;
}

PickPanel::PickPanel(tqservicecode::clsServiceCode& component, QWidget* parent)
    : QWidget(parent), m_component(component) {
    setObjectName(QStringLiteral("PickPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildOptions());
    layout->addWidget(buildAnswer(), 1);
    clearAnswer(QStringLiteral("Choose a patient and press Select service codes."));
}

QWidget* PickPanel::buildOptions() {
    auto* box = new QGroupBox(QStringLiteral("The code picker"));
    auto* form = new QFormLayout(box);
    form->setLabelAlignment(Qt::AlignRight);

    m_offered = new QComboBox;
    m_offered->setObjectName(QStringLiteral("CategoriesOffered"));
    for (const Offer& offer : kOffers) {
        m_offered->addItem(QLatin1String(offer.words), offer.mask);
    }
    form->addRow(QStringLiteral("Categories offered:"), m_offered);

    m_category = new QComboBox;
    m_category->setObjectName(QStringLiteral("StartCategory"));
    m_category->setEditable(true);
    m_category->setInsertPolicy(QComboBox::NoInsert);
    m_category->addItem(QString());
    for (const tqservicecode::picker::CategoryButton& button :
         tqservicecode::picker::categoryButtons()) {
        m_category->addItem(button.caption);
    }
    m_category->lineEdit()->setPlaceholderText(QStringLiteral("the user's usual category"));
    form->addRow(QStringLiteral("Start on category:"), m_category);

    m_single = new QCheckBox(QStringLiteral("Pick one code only"));
    m_single->setObjectName(QStringLiteral("SingleSelection"));
    m_expand = new QCheckBox(QStringLiteral("A group code adds the codes it stands for"));
    m_expand->setObjectName(QStringLiteral("ExpandCodes"));
    m_expand->setChecked(true);
    form->addRow(QStringLiteral("Picking:"), m_single);
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

    m_categoryAnswer = new QLabel;
    m_categoryAnswer->setObjectName(QStringLiteral("CategoryAnswer"));
    form->addRow(QString(), m_categoryAnswer);
    return box;
}

QWidget* PickPanel::buildAnswer() {
    auto* box = new QGroupBox(QStringLiteral("Codes chosen"));
    auto* layout = new QVBoxLayout(box);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("PickCount"));
    m_status->setWordWrap(true);
    QFont bold = m_status->font();
    bold.setBold(true);
    m_status->setFont(bold);
    layout->addWidget(m_status);

    m_codes = makeResultTable(QStringLiteral("PickAnswer"),
                              {QStringLiteral("ID"), QStringLiteral("Code"),
                               QStringLiteral("Description"), QStringLiteral("Fee")});
    fitColumns(m_codes, DescriptionColumn);
    layout->addWidget(m_codes, 1);
    return box;
}

void PickPanel::setPatient(int32_t id, const QString& name) {
    if (id != m_patientId) {
        clearAnswer(id == 0 ? QStringLiteral("Choose a patient and press Select service codes.")
                            : QStringLiteral("No codes chosen for %1 yet.").arg(name));
    }
    m_patientId = id;
    m_patientName = name;
}

PickPanel::Options PickPanel::options() const {
    return {static_cast<int16_t>(m_offered->currentData().toInt()), m_category->currentText(),
            m_single->isChecked(), m_expand->isChecked()};
}

void PickPanel::setOptions(const Options& options) {
    m_offered->setCurrentIndex(std::max(0, m_offered->findData(options.showFlag)));
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
    clearAnswer(QStringLiteral("No code was chosen."));
    tqplatform::ui::guard([this] {
        const Options chosen = options();
        int16_t flag = chosen.showFlag;
        int32_t patient = m_patientId;
        QString category = chosen.category;
        QString answer;
        int16_t count = 0;
        QString mode = chosen.singleSelection ? tqservicecode::protocol::SingleSelection
                                              : QStringLiteral("MULTI");
        clearScreenProtocol(*m_component.GIC());
        m_component.SelectServiceCode(flag, patient, category, answer, count, mode,
                                      chosen.expandExplosionCodes, window());
        const QList<PickedCode> codes = splitPickerAnswer(answer);
        showAnswer(codes);
        post(codes);
    });
}

void PickPanel::chooseCategory() {
    tqplatform::ui::guard([this] {
        clearScreenProtocol(*m_component.GIC());
        const QString category = m_component.SelectServiceCodeCategory();
        if (category.isEmpty()) {
            m_categoryAnswer->setText(QStringLiteral("Left without choosing a category."));
            return;
        }
        const QString caption = categoryCaption(category);
        m_category->setEditText(caption);
        m_categoryAnswer->setText(
            QStringLiteral("The picker starts on \u201c%1\u201d.").arg(caption));
    });
}

void PickPanel::clearAnswer(const QString& status) {
    m_status->setText(status);
    m_codes->setRowCount(0);
}

void PickPanel::showAnswer(const QList<PickedCode>& codes) {
    m_codes->setRowCount(static_cast<int>(codes.size()));
    for (int row = 0; row < codes.size(); ++row) {
        const PickedCode& code = codes[row];
        setCell(m_codes, row, IdColumn, code.id, true);
        setCell(m_codes, row, CodeColumn, code.code);
        setCell(m_codes, row, DescriptionColumn, code.description);
        setCell(m_codes, row, FeeColumn,
                code.fee.isEmpty() ? QString() : QStringLiteral("$") + code.fee, true);
    }
}

void PickPanel::post(const QList<PickedCode>& codes) {
    if (codes.isEmpty()) {
        return;
    }
    const QString chosen =
        counted(codes.size(), "code") + QStringLiteral(" chosen for ") + m_patientName;
    m_status->setText(chosen + QStringLiteral(": not posted."));
    const QList<int32_t> ids = postCharges(*m_component.GIC(), m_patientId, codes);
    if (!ids.isEmpty()) {
        m_status->setText(chosen + QStringLiteral(", posted to the ledger."));
        emit posted();
    }
}

}  // namespace tqdemo
