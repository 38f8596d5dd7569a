#pragma once

// Layouts are measured in twips, 1/1440 inch: 15 twips make one pixel at 96 dpi.
inline constexpr int TwipsPerPixel = 15;

constexpr int Twips(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}
