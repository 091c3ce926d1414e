#pragma once

#include <tqglobal/IHostServices.h>

#include <QByteArray>
#include <QString>
#include <QTextDocument>

namespace tqhost::Internal {

/// The host's word-processor object: opens RTF letters and plain text, shows them through
/// CopyData, and writes a changed title back into an RTF file. See tqGlobal::IWordProcessor
/// for the names it answers to.
class WordProcessor : public tqGlobal::IWordProcessor {
public:
    /// Files above displayLimit bytes load their title only; CopyData refuses them.
    explicit WordProcessor(qint64 displayLimit);

    QVariant Call(const QString& method, const QVariantList& arguments = {}) override;
    QVariant Property(const QString& name) const override;
    void SetProperty(const QString& name, const QVariant& value) override;

    const QTextDocument& document() const { return m_document; }

private:
    void initNewDoc();
    bool loadDoc(const QString& path);
    bool copyData(QObject* target) const;
    bool saveDoc();
    void applyFont(const QVariantMap& font);

    qint64 m_displayLimit;
    QTextDocument m_document;
    QString m_path;
    QByteArray m_rtf;  // the file as read, when it is RTF; empty for plain text
    QString m_title;
    bool m_readOnly = false;
    bool m_allSelected = false;
    bool m_tooLarge = false;
};

}  // namespace tqhost::Internal
