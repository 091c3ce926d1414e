#pragma once

#include <tqplatform/Recordset.h>

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace tqservicecode {

class RecordGrid;

/// The export window ("Export Options"): writes the rows of a bound grid into a delimited
/// text file. The caller hands it the grid and its recordset (Setup_Bound_Export), may set
/// Options, Qualifier, Delimiter and FileName, shows it modally and reads Canceled.
class frmExportOpts : public QDialog {
    Q_OBJECT
public:
    /// The delimiter choices, in the order they are shown.
    static constexpr std::array<int32_t, 5> DelimiterCodes = {44, 59, 9, 32, 256};

    explicit frmExportOpts(QWidget* parent = nullptr);
    ~frmExportOpts() override;

    void Setup_Bound_Export(RecordGrid& tg, tqplatform::Recordset& RS);

    int32_t Qualifier() const;
    void setQualifier(int32_t code);
    uint8_t CustomQualifier() const { return m_customQualifier; }
    void setCustomQualifier(uint8_t character);
    int32_t Delimiter() const;
    void setDelimiter(int32_t code);
    uint8_t CustomDelimiter() const { return m_customDelimiter; }
    void setCustomDelimiter(uint8_t character);
    QString FileName() const { return m_fileName; }
    void setFileName(const QString& fileName);
    /// Bits 16 to 128 as the controls stand.
    int32_t Options() const;
    /// Sets the titles box, disables controls by bits 1 to 8 and chooses the rows by bits
    /// 32 to 128 (a disabled choice is not chosen).
    void setOptions(int32_t options);
    bool Canceled() const { return m_canceled; }
    void setCurrentRecord(int32_t current);
    void setTotalRecords(int32_t total);
    bool isWriting() const { return m_writing; }

public slots:
    /// Cancel: at once when idle; while writing, after asking.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void browse();
    void exportClicked();
    void cancelClicked();
    void qualifierEdited(const QString& text);
    void otherDelimiterEdited(const QString& text);
    void writeFile();
    void showProgress(bool always = false);
    bool keepWriting(int current);
    QString delimiterText() const;
    QString qualifierText() const;

    RecordGrid* m_grid = nullptr;
    tqplatform::Recordset* m_rs = nullptr;
    uint8_t m_customQualifier = '"';
    uint8_t m_customDelimiter = '|';
    QString m_fileName;
    bool m_canceled = false;
    bool m_writing = false;
    bool m_editingQualifier = false;
    int32_t m_currentRecord = 0;
    int32_t m_totalRecords = 0;
    int m_shownPercent = -1;
    qint64 m_lastEvents = 0;

    std::array<QRadioButton*, 5> m_delimiters{};
    QLineEdit* m_otherDelimiter = nullptr;
    QComboBox* m_qualifier = nullptr;
    QLabel* m_fileLabel = nullptr;
    QPushButton* m_browse = nullptr;
    QCheckBox* m_titles = nullptr;
    QRadioButton* m_allRows = nullptr;
    QRadioButton* m_selectedRows = nullptr;
    QRadioButton* m_currentRow = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_cancel = nullptr;
    QWidget* m_statusPanel = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
};

}  // namespace tqservicecode
