#pragma once
// Sizes in pixels that the form window's creation and its layout share.

constexpr int kMargin = 10;             // around the content, left and top
constexpr int kScrollStripWidth = 16;   // kept free at the right for the scroll bar
constexpr int kInputWidth = 100;        // edit box or drop-down of an ordinary field
constexpr int kDropDownHeight = 200;    // height of a drive drop-down's open list
