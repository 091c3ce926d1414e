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

/// How much of a letter readRtf builds: a preview needs the beginning only, and a letter
/// of a million paragraphs must not hold the screen for seconds. 0 means no limit.
struct RtfLimits {
    qsizetype characters = 0;
    qsizetype paragraphs = 0;
    /// Changes of format: laying out a paragraph costs more with each of them.
    qsizetype formatChanges = 0;
};

/// Reads RTF into document (replacing its content): text, paragraphs, line breaks, tabs,
/// bold, italic, underline and font size; unicode (\uN) and code-page (\'hh) characters.
/// Tables of fonts, colours and styles, pictures, and the destinations a reader may
/// ignore ({\*\...}) are skipped. The document is built in one edit block without undo,
/// so its time grows with the letter's length only. Reading stops where a limit is
/// reached (truncated then tells so). Answers false when the bytes do not start an RTF
/// group.
bool readRtf(const QByteArray& rtf, QTextDocument& document, RtfInfo* info = nullptr,
             const RtfLimits& limits = {}, bool* truncated = nullptr);

/// The title and generator only, read from the header: the scan ends where the
/// document's text begins, so a letter's length costs nothing (for listing many files).
RtfInfo readRtfInfo(const QByteArray& rtf);

/// The same RTF with its title set to title: the title group is replaced when there is
/// one, added to the info group when there is one, and otherwise an info group is added
/// after the header tables. Everything else is kept byte for byte.
QByteArray rtfWithTitle(const QByteArray& rtf, const QString& title);

/// title as RTF text: braces and backslashes escaped, characters beyond ASCII as \uN?.
QByteArray rtfEscaped(const QString& text);

}  // namespace tqhost::Internal
