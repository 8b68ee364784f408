#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vernalith {

// Between the procedures' UTF-16 strings and Qt's: both are UTF-16 code units, copied as they are.
inline QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string ToU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

}  // namespace vernalith
