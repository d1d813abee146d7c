#pragma once

// Colours are kept as 0x00BBGGRR integers wherever the game stores or
// compares them (the saved-game file holds them).
constexpr int RGB(int r, int g, int b)
{
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

constexpr int redOf(int bgr)
{
    return bgr & 0xFF;
}
constexpr int greenOf(int bgr)
{
    return (bgr >> 8) & 0xFF;
}
constexpr int blueOf(int bgr)
{
    return (bgr >> 16) & 0xFF;
}
