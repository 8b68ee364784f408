#include "core/editor_text.h"

#include <algorithm>
#include <cstddef>

#include "core/chars.h"

namespace vernalith {

namespace {

bool IsBreakStart(char16_t c) { return c == kCR || c == kLF || c == kLineSeparator; }

// Length of the line break starting at i (1 to 3 code units).
size_t BreakLength(std::u16string_view text, size_t i) {
    const size_t n = text.size();
    size_t j = i + 1;
    if (text[i] == kLineSeparator) {
        if (j < n && text[j] == kCR) ++j;
        if (j < n && text[j] == kLF) ++j;
    } else if (text[i] == kCR && j < n && text[j] == kLF) {
        ++j;
    }
    return j - i;
}

}  // namespace

bool HasOnlyCrLfBreaks(std::u16string_view text) {
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c > kCR && c != kLineSeparator) continue;
        if (c == kCR) {
            if (i + 1 < n && text[i + 1] == kLF) {
                ++i;
                continue;
            }
            return false;
        }
        if (c == kLF || c == kLineSeparator) return false;
    }
    return true;
}

std::u16string ToEditorText(std::u16string_view text) {
    if (HasOnlyCrLfBreaks(text)) return std::u16string(text);
    // First the exact result length, then one pass copying the runs between breaks.
    size_t length = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        if (IsBreakStart(text[i])) {
            i += BreakLength(text, i);
            length += 2;
        } else {
            ++i;
            ++length;
        }
    }
    std::u16string out(length, u'\0');
    char16_t* o = out.data();
    size_t runStart = 0;
    for (size_t i = 0; i < n;) {
        if (!IsBreakStart(text[i])) {
            ++i;
            continue;
        }
        o = std::copy(text.begin() + static_cast<std::ptrdiff_t>(runStart),
                      text.begin() + static_cast<std::ptrdiff_t>(i), o);
        *o++ = kCR;
        *o++ = kLF;
        i += BreakLength(text, i);
        runStart = i;
    }
    std::copy(text.begin() + static_cast<std::ptrdiff_t>(runStart), text.end(), o);
    return out;
}

std::u16string WithCrLfBreaks(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == kCR || c == kLF) {
            out.append(kCRLF);
            if (c == kCR && i + 1 < text.size() && text[i + 1] == kLF) ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
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
