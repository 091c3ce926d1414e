#include <tqservicecode/selection/PickerListModel.h>

#include <tqservicecode/selection/CodeLines.h>

#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace tqservicecode {

namespace {

constexpr qsizetype MaxFieldLength = std::numeric_limits<uint16_t>::max();

/// Appends text to the buffer, cut to what a row can index; answers its length.
uint16_t store(QString& buffer, const QString& text) {
    QStringView kept = QStringView(text).left(MaxFieldLength);
    if (!kept.isEmpty() && kept.back().isHighSurrogate()) {
        kept.chop(1);  // never half of a character
    }
    buffer.append(kept);
    return static_cast<uint16_t>(kept.size());
}

/// Appends UTF-8 text to the buffer, decoded in place, as store() does with a QString.
uint16_t storeUtf8(QString& buffer, QByteArrayView utf8) {
    const qsizetype at = buffer.size();
    buffer.resize(at + utf8.size());  // never more UTF-16 units than UTF-8 bytes
    QChar* const start = buffer.data() + at;
    // Codes and descriptions are nearly always ASCII: copied unit by unit.
    qsizetype ascii = 0;
    while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80) {
        start[ascii] = QLatin1Char(utf8[ascii]);
        ++ascii;
    }
    qsizetype length = ascii;
    if (ascii < utf8.size()) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        length += decoder.appendToBuffer(start + ascii, utf8.sliced(ascii)) - (start + ascii);
    }
    length = std::min(length, MaxFieldLength);
    if (length > 0 && start[length - 1].isHighSurrogate()) {
        --length;  // never half of a character
    }
    buffer.resize(at + length);
    return static_cast<uint16_t>(length);
}

}  // namespace

PickerListModel::PickerListModel(Style style, QObject* parent)
    : QAbstractListModel(parent), m_style(style) {}

PickerListModel::~PickerListModel() = default;

int PickerListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant PickerListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const Packed& packed = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return line(index.row());
        case Qt::ToolTipRole:
            // The code list cuts the description to its column; the tooltip shows it whole.
            if (m_style == Style::CodeList) {
                return code(packed).trimmed().toString() + QStringLiteral(" - ") +
                       description(packed).trimmed().toString();
            }
            return line(index.row());
        case static_cast<int>(Role::Id):
            return packed.id;
        case static_cast<int>(Role::Code):
            return code(packed).toString();
        case static_cast<int>(Role::OfficeCode):
            return officeCode(packed).toString();
        case static_cast<int>(Role::Description):
            return description(packed).toString();
        case static_cast<int>(Role::Fee):
            return QVariant::fromValue(packed.fee);
        default:
            return {};
    }
}

QModelIndexList PickerListModel::match(const QModelIndex& start, int role, const QVariant& value,
                                       int hits, Qt::MatchFlags flags) const {
    const Qt::MatchFlags kind = flags & Qt::MatchTypeMask;
    if (role != Qt::DisplayRole || kind != Qt::MatchStartsWith || !start.isValid() ||
        start.model() != this) {
        return QAbstractListModel::match(start, role, value, hits, flags);
    }
    const QString text = value.toString();
    const Qt::CaseSensitivity sensitivity =
        flags.testFlag(Qt::MatchCaseSensitive) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int from = start.row();
    const int rows = flags.testFlag(Qt::MatchWrap) ? count() : count() - from;
    QModelIndexList found;
    for (int i = 0; i < rows && (hits < 0 || found.size() < hits); ++i) {
        const int row = (from + i) % count();
        if (lineStartsWith(row, text, sensitivity)) {
            found.append(index(row));
        }
    }
    return found;
}

bool PickerListModel::lineStartsWith(int row, QStringView text,
                                     Qt::CaseSensitivity sensitivity) const {
    if (text.isEmpty()) {
        return true;
    }
    // The first column is the code, after a blank in the code list.
    const QStringView shownCode = code(m_rows[static_cast<size_t>(row)]);
    QStringView rest = text;
    if (m_style == Style::CodeList) {
        if (text.front() != QLatin1Char(' ')) {
            return false;
        }
        rest = text.sliced(1);
    }
    if (rest.size() <= shownCode.size()) {
        return shownCode.startsWith(rest, sensitivity);
    }
    if (!rest.startsWith(shownCode, sensitivity) || rest[shownCode.size()] != QLatin1Char('\t')) {
        return false;
    }
    return line(row).startsWith(text, sensitivity);
}

void PickerListModel::setDescriptionFit(const QFontMetrics& metrics, int maxWidth) {
    m_widths = std::make_unique<CharacterWidths>(metrics);
    m_maxWidth = maxWidth;
}

void PickerListModel::append(const std::vector<PickerRow>& rows) {
    if (rows.empty()) {
        return;
    }
    beginInsertRows(QModelIndex(), count(), count() + static_cast<int>(rows.size()) - 1);
    for (const PickerRow& row : rows) {
        Packed packed{};
        packed.id = row.id;
        packed.start = static_cast<uint32_t>(m_text.size());
        packed.codeLength = store(m_text, row.code);
        packed.officeLength = store(m_text, row.officeCode);
        packed.descriptionLength = store(m_text, row.description);
        packed.officeCodeShown = row.officeCodeShown;
        packed.fee = row.fee;
        m_rows.push_back(packed);
        noteWidth(row.code);
    }
    endInsertRows();
}

void PickerListModel::noteWidth(QStringView code) {
    if (m_widths) {
        m_widestCode = std::max(
            m_widestCode, m_widths->widthOf(QLatin1Char(' ')) + m_widths->width(code.trimmed()));
    }
}

void PickerListModel::stage(int32_t id, QByteArrayView code, QByteArrayView officeCode,
                            QByteArrayView description, tqplatform::Currency fee) {
    Packed packed{};
    packed.id = id;
    packed.start = static_cast<uint32_t>(m_text.size());
    packed.codeLength = storeUtf8(m_text, code);
    packed.officeLength = storeUtf8(m_text, officeCode);
    packed.descriptionLength = storeUtf8(m_text, description);
    packed.fee = fee;
    m_staged.push_back(packed);
    noteWidth(this->code(packed));
}

void PickerListModel::showStaged() {
    if (m_staged.empty()) {
        return;
    }
    beginInsertRows(QModelIndex(), count(), count() + static_cast<int>(m_staged.size()) - 1);
    m_rows.insert(m_rows.end(), m_staged.begin(), m_staged.end());
    m_staged.clear();
    endInsertRows();
}

void PickerListModel::removeRow(int row) {
    if (row < 0 || row >= count()) {
        return;
    }
    // The row's text stays in the buffer until the list is cleared: the chosen list, the
    // one that loses rows, holds a few dozen at most.
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void PickerListModel::clear() {
    beginResetModel();
    m_rows = {};
    m_staged = {};
    m_text = QString();
    m_widestCode = 0;
    endResetModel();
}

void PickerListModel::reserve(qsizetype rows, qsizetype characters) {
    m_rows.reserve(static_cast<size_t>(rows));
    m_text.reserve(characters);
}

void PickerListModel::squeeze() {
    m_rows.shrink_to_fit();
    m_text.squeeze();
}

QStringView PickerListModel::code(const Packed& row) const {
    return QStringView(m_text).mid(row.start, row.codeLength);
}

QStringView PickerListModel::officeCode(const Packed& row) const {
    return QStringView(m_text).mid(row.start + row.codeLength, row.officeLength);
}

QStringView PickerListModel::description(const Packed& row) const {
    return QStringView(m_text).mid(row.start + row.codeLength + row.officeLength,
                                   row.descriptionLength);
}

PickerRow PickerListModel::row(int row) const {
    const Packed& packed = m_rows.at(static_cast<size_t>(row));
    return {packed.id,
            code(packed).toString(),
            officeCode(packed).toString(),
            description(packed).toString(),
            packed.fee,
            packed.officeCodeShown};
}

PickerListModel::Fields PickerListModel::fields(int row) const {
    const Packed& packed = m_rows.at(static_cast<size_t>(row));
    const QString office = officeCode(packed).trimmed().toString();
    if (m_style == Style::Chosen) {
        // Code, description, fee of the schedule, and the office code when shown.
        return {code(packed).toString(), description(packed).toString(),
                picker::moneyText(packed.fee), packed.officeCodeShown ? office : QString()};
    }
    // A blank and the code, the office code, the description fitted to its column, and
    // the fee (empty for 0).
    QString shownCode(QLatin1Char(' '));
    shownCode += code(packed);
    const QString text = description(packed).toString();
    return {shownCode, office,
            m_widths ? picker::listDescription(text, *m_widths, m_maxWidth) : text,
            packed.fee.isZero() ? QString() : picker::moneyText(packed.fee)};
}

QString PickerListModel::line(int row) const {
    const Fields columns = fields(row);
    QString text;
    text.reserve(columns[0].size() + columns[1].size() + columns[2].size() + columns[3].size() +
                 FieldCount);
    for (const QString& column : columns) {
        text += column;
        text += QLatin1Char('\t');
    }
    return text;
}

QStringList PickerListModel::lines() const {
    QStringList all;
    all.reserve(count());
    for (int row = 0; row < count(); ++row) {
        all.append(line(row));
    }
    return all;
}

int PickerListModel::rowOfItemData(int32_t id) const {
    const auto found =
        std::find_if(m_rows.cbegin(), m_rows.cend(), [id](const Packed& r) { return r.id == id; });
    return found == m_rows.cend() ? -1 : static_cast<int>(found - m_rows.cbegin());
}

tqplatform::Currency PickerListModel::feeTotal() const {
    tqplatform::Currency total;
    for (const Packed& row : m_rows) {
        total += row.fee;
    }
    return total;
}

qsizetype PickerListModel::bytesHeld() const {
    return m_text.capacity() * static_cast<qsizetype>(sizeof(QChar)) +
           static_cast<qsizetype>(m_rows.capacity() * sizeof(Packed));
}

}  // namespace tqservicecode
