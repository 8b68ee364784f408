#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "support/recording_progress.h"

namespace vernalith::testing {

// Runs a table of cases through a procedure. Each row holds `input` and `expected`, written readably
// ("a{CR}{LF}b", see T), and may hold `calls`, the whole progress-call sequence the row must give.
// `procedure` takes either the input text or the whole row (for rows with more fields, such as a list
// or markers), plus the RecordingProgress to report to, and returns the result text; give its
// parameters their types rather than `auto`, so the runner can tell the two forms apart.
// `everyRowCalls`, when not empty, is the call sequence every row must give.
// A failing row is reported with its position and input; the other rows still run.
template <typename Row, typename Procedure>
void RunCaseTable(std::span<const Row> rows, Procedure procedure, const std::vector<std::string>& everyRowCalls = {}) {
    for (size_t index = 0; index < rows.size(); ++index) {
        const Row& row = rows[index];
        RecordingProgress progress;
        std::u16string result;
        if constexpr (std::is_invocable_v<Procedure, const std::u16string&, RecordingProgress&>)
            result = procedure(T(row.input), progress);
        else
            result = procedure(row, progress);
        EXPECT_EQ(result, T(row.expected)) << "row " << index << ", input: " << row.input;
        if constexpr (requires { row.calls; }) {
            EXPECT_EQ(progress.calls, row.calls) << "row " << index << ", input: " << row.input;
        }
        if (!everyRowCalls.empty()) {
            EXPECT_EQ(progress.calls, everyRowCalls) << "row " << index << ", input: " << row.input;
        }
    }
}

template <typename Row, size_t N, typename Procedure>
void RunCaseTable(const Row (&rows)[N], Procedure procedure, const std::vector<std::string>& everyRowCalls = {}) {
    RunCaseTable(std::span<const Row>(rows), procedure, everyRowCalls);
}

}  // namespace vernalith::testing
