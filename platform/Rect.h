#pragma once
// A rectangle as the parameter texts carry it: left, top, right, bottom in pixels.

struct RECT {
    int left;
    int top;
    int right;
    int bottom;

    friend bool operator==(const RECT&, const RECT&) = default;
};
