#include "markup/selection_edit.h"

#include "core/chars.h"

namespace vernalith {

std::u16string InsertedEditorText(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == kCR) {
            out.append(kCRLF);
            if (i + 1 < text.size() && text[i + 1] == kLF) ++i;
        } else if (c == kLF) {
            out.append(kCRLF);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace vernalith
