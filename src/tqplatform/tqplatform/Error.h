#pragma once

#include <tqplatform/tqplatform_export.h>

#include <QString>

#include <stdexcept>

namespace tqplatform {

/// A run-time error raised by the platform or the host, as the component sees it:
/// an error number, its description and the line (0 when none) where it arose.
class TQPLATFORM_EXPORT Error : public std::runtime_error {
public:
    Error(long number, const QString& description, int line = 0)
        : std::runtime_error(description.toStdString()),
          m_number(number),
          m_description(description),
          m_line(line) {}

    long number() const { return m_number; }
    const QString& description() const { return m_description; }
    int line() const { return m_line; }

private:
    long m_number;
    QString m_description;
    int m_line;
};

/// Error numbers the component reacts to.
namespace ErrorNumber {
inline constexpr long InvalidUseOfNull = 94;
inline constexpr long NoCurrentRecord = 3021;
inline constexpr long Overflow = 6;
inline constexpr long TypeMismatch = 13;
inline constexpr long DatabaseError = 3146;
inline constexpr long ValueDoesNotFit = 3163;
inline constexpr long ObjectRequired = 424;
}  // namespace ErrorNumber

}  // namespace tqplatform
