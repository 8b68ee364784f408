#include "text/case_table.h"

namespace vernalith {

std::u16string ToLowerText(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) c = ToLowerChar(c);
    return out;
}

std::u16string CapitalizeFirst(std::u16string_view text) {
    std::u16string out(text);
    if (!out.empty()) out[0] = ToUpperChar(out[0]);
    return out;
}

}  // namespace vernalith
