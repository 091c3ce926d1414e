#pragma once

#include "RtfReader.h"

#include <tqglobal/IHostServices.h>

#include <QByteArray>
#include <QString>

namespace tqhost::Internal {

/// The host's word-processor object: opens RTF letters and plain text, shows them through
/// CopyData, and writes a changed title back into an RTF file. See tqGlobal::IWordProcessor
/// for the names it answers to.
///
/// LoadDoc reads the file and its title from the header only; the document is built when
/// CopyData shows it, straight into the target, and only as far as a preview needs
/// (previewLimits()): listing the titles of many letters, or showing one letter of a
/// million paragraphs, never holds the screen.
class WordProcessor : public tqGlobal::IWordProcessor {
public:
    /// Files above displayLimit bytes load their title only; CopyData refuses them.
    explicit WordProcessor(qint64 displayLimit);

    QVariant Call(const QString& method, const QVariantList& arguments = {}) override;
    QVariant Property(const QString& name) const override;
    void SetProperty(const QString& name, const QVariant& value) override;

    /// How much of a letter CopyData shows: the beginning of a longer letter, ended by a
    /// paragraph "[...]".
    static RtfLimits previewLimits();

private:
    void initNewDoc();
    bool loadDoc(const QString& path);
    bool copyData(QObject* target) const;
    bool saveDoc();

    qint64 m_displayLimit;
    QString m_path;
    QByteArray m_rtf;    // the file as read, when it is RTF
    QString m_plain;     // the file's text, when it is not RTF
    QVariantMap m_font;  // applied to the selection when it is copied
    QString m_title;
    bool m_readOnly = false;
    bool m_allSelected = false;
    bool m_tooLarge = false;
};

}  // namespace tqhost::Internal
