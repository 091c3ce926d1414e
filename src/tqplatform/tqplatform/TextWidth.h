#pragma once

#include <QString>

namespace tqplatform {

/// Field widths count characters as the databases do (code points: a character outside
/// the basic plane, such as an emoji, is one character though QString holds it in two
/// units).

/// The number of characters of text.
qsizetype characterCount(const QString& text);

/// The first width characters of text: never half of a character (a surrogate pair is
/// kept whole or left out whole).
QString leftCharacters(const QString& text, qsizetype width);

/// text cut to width characters and filled with blanks to width characters: a field of
/// fixed width.
QString fixedWidthText(const QString& text, qsizetype width);

}  // namespace tqplatform
