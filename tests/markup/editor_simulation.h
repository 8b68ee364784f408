#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "markup/selection_edit.h"
#include "support/recording_progress.h"

namespace vernalith::testing {

// A tiny editor: the whole text in the editor's form (lines joined by CR LF), a selection start and
// length, and the three selection operations as the editor defines them. Positions inside a CR LF
// pair or past the end are never produced by the real editor, so they fail the test here.
class EditorSimulation {
public:
    EditorSimulation(std::u16string text, size_t start, size_t length)
        : text_(std::move(text)), start_(start), length_(length) {}

    void SetSelectionStart(size_t position) {
        CheckPosition(position);
        start_ = position;
        length_ = 0;
    }

    void SetSelectionLength(size_t length) {
        CheckPosition(start_ + length);
        length_ = length;
    }

    // CR LF, a lone CR and a lone LF of the inserted text each become one line break (CR LF).
    void ReplaceSelection(std::u16string_view inserted) {
        std::u16string converted;
        for (size_t i = 0; i < inserted.size(); ++i) {
            if (inserted[i] == u'\r' || inserted[i] == u'\n') {
                if (inserted[i] == u'\r' && i + 1 < inserted.size() && inserted[i + 1] == u'\n') ++i;
                converted += u"\r\n";
            } else {
                converted += inserted[i];
            }
        }
        text_.replace(start_, length_, converted);
        start_ += converted.size();
        length_ = 0;
        ++notifications_;
    }

    void Apply(const EditPlan& plan) {
        for (const EditStep& step : plan) {
            switch (step.kind) {
                case EditStep::Kind::SetSelectionStart:
                    SetSelectionStart(step.amount);
                    break;
                case EditStep::Kind::SetSelectionLength:
                    SetSelectionLength(step.amount);
                    break;
                case EditStep::Kind::ReplaceSelection:
                    ReplaceSelection(step.text);
                    break;
            }
        }
    }

    const std::u16string& text() const { return text_; }
    size_t start() const { return start_; }
    size_t length() const { return length_; }
    int notifications() const { return notifications_; }

private:
    void CheckPosition(size_t position) const {
        ASSERT_LE(position, text_.size());
        if (position > 0 && position < text_.size()) {
            EXPECT_FALSE(text_[position - 1] == u'\r' && text_[position] == u'\n') << "position " << position;
        }
    }

    std::u16string text_;
    size_t start_;
    size_t length_;
    int notifications_ = 0;
};

// A text with its selection marked: "⟦" and "⟧" around the selected part, or "‸" for the caret with
// nothing selected; CR, LF and TAB written as in T().
struct MarkedText {
    std::u16string text;
    size_t start = 0;
    size_t length = 0;
};

inline MarkedText Marked(std::string_view readable) {
    const std::u16string all = T(readable);
    MarkedText marked;
    for (char16_t c : all) {
        if (c == u'⟦' || c == u'‸') {
            marked.start = marked.text.size();
        } else if (c == u'⟧') {
            marked.length = marked.text.size() - marked.start;
        } else {
            marked.text += c;
        }
    }
    return marked;
}

// The editor's text with its selection marked the same way.
inline std::u16string Shown(const EditorSimulation& editor) {
    std::u16string shown = editor.text();
    if (editor.length() == 0) return shown.insert(editor.start(), u"‸");
    shown.insert(editor.start() + editor.length(), u"⟧");
    return shown.insert(editor.start(), u"⟦");
}

}  // namespace vernalith::testing
