#pragma once

#include <stdexcept>
#include <string>

namespace vernalith {

// A procedure's failure, carrying the message the user is shown (the top-level error box, or the
// command-line tool's error line).
class ProcedureError : public std::runtime_error {
public:
    explicit ProcedureError(std::u16string message);
    const std::u16string& message() const { return message_; }

private:
    std::u16string message_;
};

// Converts a setting's text to a whole number as the runtime does: optional leading spaces, an
// optional sign, decimal digits (or "$"/"0x" hexadecimal), within 32 bits. Anything else fails with
// "''<text>'' is not a valid integer value.".
int ParseIntegerSetting(const std::u16string& text);

}  // namespace vernalith
