#include "core/procedure_error.h"

#include <cstdint>

#include "core/encoding.h"

namespace vernalith {

ProcedureError::ProcedureError(std::u16string message)
    : std::runtime_error(EncodeUtf8(message)), message_(std::move(message)) {}

int ParseIntegerSetting(const std::u16string& text) {
    auto fail = [&]() -> int { throw ProcedureError(u"''" + text + u"'' is not a valid integer value."); };
    size_t i = 0, n = text.size();
    while (i < n && text[i] == u' ') ++i;
    const size_t end = n;
    bool negative = false;
    if (i < end && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    int base = 10;
    if (i < end && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < end && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= end) return fail();
    int64_t value = 0;
    for (; i < end; ++i) {
        const char16_t c = text[i];
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return fail();
        value = value * base + digit;
        if (value > 0x100000000LL) return fail();
    }
    if (negative) value = -value;
    if (base == 10 && (value > INT32_MAX || value < INT32_MIN)) return fail();
    if (base == 16) {
        if (value > 0xFFFFFFFFLL || value < -0xFFFFFFFFLL) return fail();
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    return static_cast<int>(value);
}

}  // namespace vernalith
