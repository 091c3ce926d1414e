#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace tqhost::Internal {

/// What reading an RTF file found besides the text.
struct RtfInfo {
    /// The document title ({\info{\title ...}}), "" when the file has none.
    QString title;
    /// The program that wrote the file ({\*\generator ...}), "" when it does not say.
    QString generator;
};

/// Reads RTF into document (replacing its content): text, paragraphs, line breaks, tabs,
/// bold, italic, underline and font size; unicode (\uN) and code-page (\'hh) characters.
/// Tables of fonts, colours and styles, pictures, and the destinations a reader may
/// ignore ({\*\...}) are skipped. Answers false when the bytes do not start an RTF group.
bool readRtf(const QByteArray& rtf, QTextDocument& document, RtfInfo* info = nullptr);

/// The title and generator only, without building a document (for listing many files).
RtfInfo readRtfInfo(const QByteArray& rtf);

/// The same RTF with its title set to title: the title group is replaced when there is
/// one, added to the info group when there is one, and otherwise an info group is added
/// after the header tables. Everything else is kept byte for byte.
QByteArray rtfWithTitle(const QByteArray& rtf, const QString& title);

/// title as RTF text: braces and backslashes escaped, characters beyond ASCII as \uN?.
QByteArray rtfEscaped(const QString& text);

}  // namespace tqhost::Internal
