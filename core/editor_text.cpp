#include "core/editor_text.h"

#include "core/chars.h"

namespace vernalith {

std::u16string ToEditorText(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 32);
    const size_t n = text.size();
    size_t runStart = 0;
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c != kCR && c != kLF && c != kLineSeparator) continue;
        out.append(text.substr(runStart, i - runStart));
        out.append(kCRLF);
        if (c == kLineSeparator) {
            if (i + 1 < n && text[i + 1] == kCR) ++i;
            if (i + 1 < n && text[i + 1] == kLF) ++i;
        } else if (c == kCR && i + 1 < n && text[i + 1] == kLF) {
            ++i;
        }
        runStart = i + 1;
    }
    out.append(text.substr(runStart));
    return out;
}

size_t EditorLineCount(std::u16string_view editorText) {
    if (editorText.empty()) return 0;
    size_t breaks = 0;
    for (size_t i = 0; i < editorText.size(); ++i) {
        if (editorText[i] == kCR) {
            ++breaks;
            if (i + 1 < editorText.size() && editorText[i + 1] == kLF) ++i;
        } else if (editorText[i] == kLF) {
            ++breaks;
        }
    }
    return breaks + 1;
}

std::u16string CrLfToLf(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kCR && i + 1 < text.size() && text[i + 1] == kLF) continue;
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace vernalith
