#pragma once

#include <tqplatform/Currency.h>

#include <QAbstractListModel>
#include <QByteArrayView>
#include <QFontMetrics>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace tqservicecode {

class CharacterWidths;

/// One code of a picker list, as typed values.
struct PickerRow {
    int32_t id = 0;  ///< SevCodID; 0 when none
    QString code;
    QString officeCode;
    QString description;
    tqplatform::Currency fee;
    /// The chosen list shows the office code of a code that is not unique.
    bool officeCodeShown = false;
};

/// The codes of a picker list. Rows are kept typed and compact (the texts of all rows in
/// one buffer), and a row's line is made only when it is painted or asked for, so a list
/// of a hundred thousand codes fills quickly and holds little more than its text.
class PickerListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum class Role { Id = Qt::UserRole, Code, OfficeCode, Description, Fee };
    /// How a row is shown: a line of the code list, or of the chosen list.
    enum class Style { CodeList, Chosen };
    static constexpr int FieldCount = 4;
    using Fields = std::array<QString, FieldCount>;

    explicit PickerListModel(Style style, QObject* parent = nullptr);
    ~PickerListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    /// A search for lines starting with a text (the list's keyboard search) rules most
    /// lines out by their first column, without making them; other searches as the base.
    QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits = 1,
                          Qt::MatchFlags flags = Qt::MatchFlags(Qt::MatchStartsWith |
                                                                Qt::MatchWrap)) const override;

    /// The code list fits each description to maxWidth pixels of the list's font.
    void setDescriptionFit(const QFontMetrics& metrics, int maxWidth);

    /// Appends rows, as one insertion.
    void append(const std::vector<PickerRow>& rows);
    void append(const PickerRow& row) { append(std::vector<PickerRow>{row}); }
    /// A row given by its texts in UTF-8 (as the database keeps them), decoded straight into
    /// the model's buffer; it joins the list at the next showStaged().
    void stage(int32_t id, QByteArrayView code, QByteArrayView officeCode,
               QByteArrayView description, tqplatform::Currency fee);
    /// The rows staged so far join the list, as one insertion.
    void showStaged();
    void removeRow(int row);
    void clear();
    void reserve(qsizetype rows, qsizetype characters);
    /// Gives back the room appending left unused.
    void squeeze();

    int count() const { return static_cast<int>(m_rows.size()); }
    PickerRow row(int row) const;
    int32_t itemData(int row) const { return m_rows.at(row).id; }
    tqplatform::Currency fee(int row) const { return m_rows.at(row).fee; }
    /// The texts of a line's columns; the line is each followed by a tab.
    Fields fields(int row) const;
    QString line(int row) const;
    QStringList lines() const;
    /// The first row whose item data is id; -1 when none.
    int rowOfItemData(int32_t id) const;
    /// The sum of the rows' fees.
    tqplatform::Currency feeTotal() const;
    /// The printed width of the widest code as the code list shows it (with its leading
    /// blank), in pixels of the font given to setDescriptionFit; 0 before.
    int widestCode() const { return m_widestCode; }
    /// Heap bytes the rows hold (their text buffer and row table, as allocated).
    qsizetype bytesHeld() const;

private:
    struct Packed {
        int32_t id;
        uint32_t start;  // of the code in m_text; office code and description follow
        uint16_t codeLength;
        uint16_t officeLength;
        uint16_t descriptionLength;
        bool officeCodeShown;
        tqplatform::Currency fee;
    };
    bool lineStartsWith(int row, QStringView text, Qt::CaseSensitivity sensitivity) const;
    QStringView code(const Packed& row) const;
    QStringView officeCode(const Packed& row) const;
    QStringView description(const Packed& row) const;

    void noteWidth(QStringView code);

    Style m_style;
    QString m_text;
    std::vector<Packed> m_rows;
    std::vector<Packed> m_staged;  // rows whose text is in m_text, not yet in the list
    std::unique_ptr<CharacterWidths> m_widths;
    int m_maxWidth = 0;
    int m_widestCode = 0;
};

}  // namespace tqservicecode
