#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vernalith {

// The locale's alphabetical order of lines with letter case ignored: ICU collation at secondary
// strength (letters and accents count, case does not). The empty line sorts before every line that
// holds a letter or a digit. `locale` is an ICU locale id such as "ru_RU" or "en_US"; an unknown one
// falls back to the root order. The POSIX ("C") locale has no alphabet of its own (ICU orders it by
// code point, capitals first), so it gets the root order too.
class LineCollator {
public:
    explicit LineCollator(const std::string& locale);
    ~LineCollator();
    LineCollator(const LineCollator&) = delete;
    LineCollator& operator=(const LineCollator&) = delete;

    // Negative, zero or positive as a sorts before, with or after b.
    int Compare(std::u16string_view a, std::u16string_view b) const;

    // Appends the line's sort key, NUL included; byte-wise comparison of two keys gives Compare.
    void AppendSortKey(std::u16string_view line, std::string& keys) const;

private:
    struct Icu;  // the ICU collator, kept out of this header
    std::unique_ptr<Icu> icu_;
};

// The user's locale as ICU reads it from the environment (LC_ALL, LC_MESSAGES, LANG).
std::string UserCollationLocale();

}  // namespace vernalith
