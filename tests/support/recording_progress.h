#pragma once

#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/progress.h"

namespace vernalith::testing {

// Records every progress call as a short line ("caption удаление пробелов", "percent 50", "pump"),
// so tests can compare whole report sequences.
class RecordingProgress : public ProgressReporter {
public:
    void SetStatusCaption(std::u16string_view text) override { calls.push_back("caption " + EncodeUtf8(text)); }
    void ReportPercent(int n) override { calls.push_back("percent " + std::to_string(n)); }
    void ReportPercentSpaced(int n) override { calls.push_back("spaced " + std::to_string(n)); }
    void ClearPercent() override { calls.push_back("clear"); }
    void SetGauge(Gauge g, int n) override {
        calls.push_back(std::string(g == Gauge::Gauge1 ? "gauge1 " : "gauge2 ") + std::to_string(n));
    }
    void ShowProgressPanel() override { calls.push_back("show panel"); }
    void HideProgressPanel() override { calls.push_back("hide panel"); }
    void PumpEvents() override { calls.push_back("pump"); }

    // Only the percentage reports, in order.
    std::vector<std::string> Percents() const {
        std::vector<std::string> out;
        for (const auto& call : calls) {
            if (call.starts_with("percent") || call.starts_with("spaced")) out.push_back(call);
        }
        return out;
    }

    std::vector<std::string> calls;
};

// Writes CR, LF and TAB readably: "a{CR}{LF}b" -> u"a\r\nb". Input is UTF-8.
inline std::u16string T(std::string_view readable) {
    std::string out;
    for (size_t i = 0; i < readable.size();) {
        if (readable.substr(i, 4) == "{CR}")
            out += '\r', i += 4;
        else if (readable.substr(i, 4) == "{LF}")
            out += '\n', i += 4;
        else if (readable.substr(i, 5) == "{TAB}")
            out += '\t', i += 5;
        else
            out += readable[i++];
    }
    return DecodeUtf8(out);
}

// The other way round, for failure messages: CR, LF, TAB and U+0000 written out, the rest as UTF-8.
inline std::string Readable(std::u16string_view text) {
    std::string out;
    size_t plain = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char* mark = nullptr;
        if (i < text.size()) {
            const char16_t c = text[i];
            mark = c == u'\r' ? "{CR}" : c == u'\n' ? "{LF}" : c == u'\t' ? "{TAB}" : c == u'\0' ? "{NUL}" : nullptr;
            if (!mark) continue;
        }
        out += EncodeUtf8(text.substr(plain, i - plain));
        if (mark) out += mark;
        plain = i + 1;
    }
    return '"' + out + '"';
}

}  // namespace vernalith::testing
