// Bitmap utilities of the skin engine: gradient fills, grey and magenta replacement, mirror, flip, rotation.
#pragma once
#include <windows.h>

#include "Graphics.h"
#include "skin/data/WinSkinIni.h"

namespace skin {

// Fills the visible part of r with a ramp from start to end, one line per colour: rows
// from top to bottom when vertical, columns from left to right otherwise. System colours
// are resolved first; nothing is drawn when r is empty or wholly clipped.
void GradientFill(HDC dc, const RECT& r, TColor start, bool vertical, TColor end);

// Converts to 24 bits per pixel and sets every pixel to its grey (B + G + R) div 3.
void GrayBitmap(fw::TBitmap& bitmap);
// Converts to 24 bits per pixel and replaces every pure magenta pixel (255, 0, 255) by colour.
void ReplaceMagenta(fw::TBitmap& bitmap, TColor colour);

// Geometric transforms of a 24-bit bitmap (other depths are converted to 24 bits first).
void MirrorBitmap(fw::TBitmap& bitmap);  // left to right: x goes to width - 1 - x
void FlipBitmap(fw::TBitmap& bitmap);    // top to bottom: y goes to height - 1 - y
// 90 degrees counter-clockwise: the top edge becomes the left edge, its right end at the top.
void RotateLeft(fw::TBitmap& bitmap);
// 90 degrees clockwise: the top edge becomes the right edge, its left end at the top.
void RotateRight(fw::TBitmap& bitmap);

}  // namespace skin
