// The small value types of the printed page: rectangles in inches and pixels, Windows colours
// and font style bits. Kept apart so that headers needing only these stay light.
#pragma once

/** A rectangle of doubles (inches on the page). */
struct TPageRect {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    bool operator==(const TPageRect &) const = default;
};

/** A rectangle in view pixels, edges as given (Right and Bottom are exclusive edges). */
struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TPixelRect &) const = default;
};

/** Windows colour value $BBGGRR. */
using TColor = int;

/** Font style bits, in the order of the "BIUS" flags of the puzzle file. */
using TFontStyles = int;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

constexpr TFontStyles DefaultClueNumberStyle = fsBold;
constexpr TFontStyles DefaultClueThemeStyle = fsBold | fsItalic;
constexpr TFontStyles DefaultTitleStyle = 0;
constexpr TFontStyles DefaultSubtitleStyle = 0;
