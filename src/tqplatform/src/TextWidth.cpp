#include <tqplatform/TextWidth.h>

namespace tqplatform {

namespace {

/// QString units of the character that starts at i: 2 for a whole surrogate pair.
qsizetype unitsAt(const QString& text, qsizetype i) {
    return text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
               ? 2
               : 1;
}

/// Where the first width characters of text end, in QString units.
qsizetype unitsOf(const QString& text, qsizetype width) {
    qsizetype units = 0;
    for (qsizetype characters = 0; units < text.size() && characters < width; ++characters) {
        units += unitsAt(text, units);
    }
    return units;
}

}  // namespace

qsizetype characterCount(const QString& text) {
    qsizetype count = 0;
    for (qsizetype units = 0; units < text.size(); ++count) {
        units += unitsAt(text, units);
    }
    return count;
}

QString leftCharacters(const QString& text, qsizetype width) {
    return width <= 0 ? QString() : text.left(unitsOf(text, width));
}

QString fixedWidthText(const QString& text, qsizetype width) {
    const QString cut = leftCharacters(text, width);
    const qsizetype missing = width - characterCount(cut);
    return missing > 0 ? cut + QString(missing, QLatin1Char(' ')) : cut;
}

}  // namespace tqplatform
