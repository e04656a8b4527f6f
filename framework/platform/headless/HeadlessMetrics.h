// The headless platform's metrics, stated once. They are fixed so that
// layouts, wrapping and painting give the same numbers on every machine:
//
// - every character is 6 pixels wide (the average character width is 6)
//   and a line is 13 pixels high; fonts 0 and 2 both use these metrics;
// - the screen is 1024 x 768 at 0, 0;
// - windows have no frame: the outer size is the client size;
// - natural sizes: push button (text width + 20) x 23; check box and radio
//   button (text width + 20) x 17; label: widest line x (lines x 13), its
//   text word-wrapped at `wrapWidth` when that is above 0; text field
//   240 x 21 whatever its text; progress bar 100 x 16; scroll bar 16 x 16
//   (its thickness both ways); panels and every other kind 0 x 0.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RkString.h"
#include "framework/ui/RkGeometry.h"

constexpr int32_t kHeadlessCharWidth = 6;
constexpr int32_t kHeadlessLineHeight = 13;
constexpr RkRect kHeadlessScreen{0, 0, 1024, 768};

constexpr int32_t kHeadlessButtonPadding = 20;
constexpr int32_t kHeadlessButtonHeight = 23;
constexpr int32_t kHeadlessCheckboxPadding = 20;
constexpr int32_t kHeadlessCheckboxHeight = 17;
constexpr RkSize kHeadlessTextFieldSize{240, 21};
constexpr RkSize kHeadlessProgressBarSize{100, 16};
constexpr int32_t kHeadlessScrollbarThickness = 16;

// The width of one line: 6 pixels per character (a surrogate pair is one
// character).
int32_t HeadlessTextWidth(const CRkString& line);

// The text's lines: CR LF, a lone CR and a lone LF each end a line, so ""
// is one empty line and "a\n" two. With `wrapWidth` > 0 each line is then
// broken at spaces so that it fits (the spaces at a break are dropped); a
// word wider than `wrapWidth` keeps a line of its own.
std::vector<CRkString> HeadlessLabelLines(const CRkString& text, int32_t wrapWidth);

// The natural size of a control of `kind` showing `text`.
RkSize HeadlessNaturalSize(uint32_t kind, const CRkString& text, int32_t wrapWidth);
