#include <tqservicecode/patient/DocList.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/CenterForm.h>
#include <tqservicecode/forms/ContextHelp.h>
#include <tqservicecode/forms/FormIcon.h>
#include <tqservicecode/patient/ProviderList.h>

#include <tqglobal/Error.h>
#include <tqplatform/Twips.h>
#include <tqplatform/ui.h>

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tqservicecode {

namespace {

constexpr int HelpContext = 1063;

/// Draws an entry as two columns: the name part (its padding dropped) on the left, the
/// initials after the tab in a column at the right edge, so that they line up whatever
/// the font.
class EntryDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear();
        const QWidget* widget = plain.widget;
        QStyle* style = widget != nullptr ? widget->style() : nullptr;
        if (style != nullptr) {
            style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);
        }
        const QString text = index.data().toString();
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        const QString name = (tab < 0 ? text : text.left(tab)).trimmed();
        const QString initials = tab < 0 ? QString() : text.mid(tab + 1);

        const QRect area = option.rect.adjusted(6, 0, -6, 0);
        const int initialsWidth = initialsColumnWidth(option.fontMetrics);
        const QRect nameRect(area.left(), area.top(), area.width() - initialsWidth - 8,
                             area.height());
        const QRect initialsRect(area.right() - initialsWidth + 1, area.top(), initialsWidth,
                                 area.height());
        painter->save();
        painter->setFont(option.font);
        painter->setPen(option.state & QStyle::State_Selected
                            ? option.palette.color(QPalette::HighlightedText)
                            : option.palette.color(QPalette::Text));
        painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                          option.fontMetrics.elidedText(name, Qt::ElideRight, nameRect.width()));
        painter->drawText(initialsRect, Qt::AlignLeft | Qt::AlignVCenter, initials);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize hint = QStyledItemDelegate::sizeHint(option, index);
        hint.setHeight(std::max(hint.height(), option.fontMetrics.height() + 6));
        return hint;
    }

private:
    static int initialsColumnWidth(const QFontMetrics& metrics) {
        return metrics.horizontalAdvance(QStringLiteral("WWWWW"));
    }
};

}  // namespace

DocList::DocList(QWidget* parent) : QDialog(parent) {
    setObjectName(protocol::screen::DocList);
    setWindowTitle(QStringLiteral("Employee List"));
    buildControls();
    SetFormIcon(this, QStringLiteral("APPICON"));
    SetHelpContext(this, HelpContext);
}

DocList::~DocList() = default;

void DocList::buildControls() {
    lstDoc = new QListWidget(this);
    lstDoc->setObjectName(QStringLiteral("lstDoc"));
    lstDoc->setSelectionMode(QAbstractItemView::SingleSelection);
    lstDoc->setUniformItemSizes(true);
    lstDoc->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstDoc->setItemDelegate(new EntryDelegate(lstDoc));
    lstDoc->installEventFilter(this);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdHelp = new QPushButton(QStringLiteral("&Help"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {cmdOK, cmdClose, cmdHelp}) {
        button->setMinimumWidth(84);
        buttons->addWidget(button);
    }
    auto* main = new QVBoxLayout(this);
    main->addWidget(lstDoc, 1);
    main->addLayout(buttons);
    resize(420, 340);

    connect(cmdOK, &QPushButton::clicked, this, &DocList::okClicked);
    connect(cmdClose, &QPushButton::clicked, this, &DocList::reject);
    connect(cmdHelp, &QPushButton::clicked, this, &DocList::helpClicked);
    connect(lstDoc, &QListWidget::itemDoubleClicked, this, &DocList::entryDoubleClicked);
}

void DocList::load() {
    tqGlobal::IHostServices& gic = GIC();
    const providers::ListKind kind = providers::listKindFor(gic.ScreenNumber());
    answer({.step = ProviderChoice::Step::Opened});
    m_sizeFile = providers::sizeFilePath(gic.GetDataPath(),
                                         providers::layoutKey(kind, gic.GetCurrentUserName()));
    setWindowTitle(kind.caption);

    fillList(kind.typeField);
    applySavedSize();
    CenterForm(this);
}

void DocList::fillList(const QString& typeField) {
    QList<providers::Entry> entries;
    QString failure;
    {
        tqplatform::ui::WaitCursor hourglass;
        try {
            entries = providers::loadEntries(typeField);
        } catch (const tqGlobal::Error& error) {
            failure = error.description();
        }
    }
    if (!failure.isEmpty()) {
        // Said rather than shown as a list that looks complete; the user can still close.
        tqplatform::ui::msgBox(providers::unreadListMessage(failure),
                               tqplatform::ui::Buttons::OkOnly | tqplatform::ui::Buttons::Critical);
    }
    lstDoc->clear();
    for (const providers::Entry& entry : entries) {
        auto* item = new QListWidgetItem(entry.text, lstDoc);
        item->setData(Qt::UserRole, entry.id);
    }
    // What is highlighted is what OK answers.
    if (lstDoc->count() > 0) {
        lstDoc->setCurrentRow(0);
    }
}

void DocList::applySavedSize() {
    const std::optional<QSize> saved = providers::readSizeFile(m_sizeFile);
    if (!saved) {
        return;
    }
    const QSize wanted(tqplatform::twips::toPixelsX(saved->width(), this),
                       tqplatform::twips::toPixelsY(saved->height(), this));
    QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QSize available = shown != nullptr ? shown->availableGeometry().size() : QSize();
    resize(providers::keptWithin(wanted, available));
}

void DocList::saveSize() {
    if (m_sizeFile.isEmpty()) {
        return;
    }
    const QSize pixels = (isMaximized() || isMinimized()) ? normalGeometry().size() : size();
    const QSize twips(
        static_cast<int>(std::lround(tqplatform::twips::fromPixelsX(pixels.width(), this))),
        static_cast<int>(std::lround(tqplatform::twips::fromPixelsY(pixels.height(), this))));
    // A size that cannot be written is simply not remembered.
    providers::writeSizeFile(m_sizeFile, twips);
}

void DocList::okClicked() {
    QListWidgetItem* current = lstDoc->currentItem();
    if (current == nullptr) {
        lstDoc->setFocus();
        return;
    }
    // A host that cannot take the answer is reported, and the list stays open.
    const int32_t id = current->data(Qt::UserRole).toInt();
    if (tqplatform::ui::guard([&] { answer({.step = ProviderChoice::Step::Chosen, .id = id}); })) {
        accept();
    }
}

void DocList::reject() {
    // The list closes even when the host cannot take the answer.
    tqplatform::ui::guard([this] { answer({.step = ProviderChoice::Step::Closed}); });
    QDialog::reject();
}

void DocList::answer(const ProviderChoice& choice) const {
    if (m_answerSink) {
        m_answerSink(choice);
    }
}

void DocList::helpClicked() {
    tqplatform::ui::guard([this] { ShowContextHelp(this); });
    lstDoc->setFocus();
}

void DocList::entryDoubleClicked(QListWidgetItem* item) {
    if (item != nullptr) {
        lstDoc->setCurrentItem(item);
        okClicked();
    }
}

void DocList::done(int result) {
    saveSize();
    QDialog::done(result);
}

bool DocList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstDoc && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            okClicked();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tqservicecode

#include "DocList.moc"
