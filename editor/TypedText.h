#pragma once
// The comment editor's limit on typing, in bytes. An edit control's own
// limit counts bytes on Windows but characters where the control keeps its
// text as UTF-16 (under Wine), which lets twice the bytes of Japanese text in.
// So after every change the editor measures the text and cuts what the
// change put in down to what fits, on a whole Shift-JIS character.
#include <cstddef>
#include <string>

struct FittedText {
    bool cut = false;   // false: the change fits as it is, and the rest is empty
    std::string text;   // what the control is to hold
    size_t caret = 0;   // bytes of text before the caret: behind what was kept
};

// before: the control's text before one change (typing, pasting, replacing a
// selection, undoing); now: its text after it. What the change left alone at
// both ends stays; of what it put in between, the longest start that keeps
// the whole text within limit bytes stays. A text that is over the limit
// already (a longer stored comment is shown whole) takes nothing more.
FittedText FitTypedChange(const std::string& before, const std::string& now, size_t limit);
