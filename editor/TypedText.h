#pragma once
// The comment editor's limit on typing, in bytes. An edit control's own
// limit counts bytes on Windows but characters where the control keeps its
// text as UTF-16 (under Wine), which lets twice the bytes of Japanese text in.
// So after every change the editor measures the text and cuts what the
// change put in down to what fits, on a whole Shift-JIS character.
#include <cstddef>
#include <string_view>

// The control is to hold the text after the change without the `dropped`
// bytes at `caret`.
struct FittedText {
    bool cut = false;    // false: the change fits as it is, and the rest is zero
    size_t caret = 0;    // bytes of text before the caret: behind what was kept
    size_t dropped = 0;  // bytes of what the change put in that do not fit
};

// before: the control's text before one change (typing, pasting, replacing a
// selection, undoing); now: its text after it. What the change left alone at
// both ends stays; of what it put in between, the longest start that keeps
// the whole text within limit bytes stays. A text that is over the limit
// already (a longer stored comment is shown whole) takes nothing more.
// Allocates nothing.
FittedText FitTypedChange(std::string_view before, std::string_view now, size_t limit) noexcept;
