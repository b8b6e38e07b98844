// The one drawing unit of the skin engine: frames of skin images, nine-grid scaling, tiles,
// colour-keyed blits, strips, three-slices and window regions cut from images. The window
// frame, the menu bar and every control skin draw through these helpers.
//
// Frames: an image holds its frames side by side (stacked top to bottom when vertical), all of
// equal size, numbered from 1. A frame count below 1 counts as 1 and the frame number is clamped
// into 1..count, so no count read from a skin can make a division fail.
//
// Destinations: a rectangle with a negative or zero width or height draws nothing, and so does a
// coordinate beyond +-2^27 (the limit of the system's coordinate space). Only the part of a
// destination that the device context shows (its clip box) is composed, so destinations far larger
// than the surface, for example a control scrolled mostly out of view, cost no more than the
// visible part. An empty image or an empty frame draws nothing. Nothing here throws for such
// input; failures to get memory or GDI objects raise fw::EOutOfMemory.
//
// Colour key: magenta pixels (red 255, green 0, blue 255) are transparent in every skin image.
#pragma once
#include <windows.h>

#include <memory>

#include "Controls.h"
#include "Graphics.h"
#include "skin/data/SkinElements.h"

namespace skin {

inline constexpr fw::TColor clSkinKey = fw::clFuchsia;

// Rectangle of frame `frame` (1-based, clamped) of an image of `frameCount` equal frames, side by
// side or, when vertical, one above the other. Empty when the image is empty or the frames would
// be less than one pixel wide (high).
RECT FrameRect(const fw::TBitmap& image, int frameCount, int frame, bool vertical);

// A new 24-bit bitmap of dest's size holding one frame of image scaled by its nine grid: corners
// unscaled, edges stretched along their length, the centre stretched or, with tile, repeated from
// its top-left. Margins are clamped to the frame; the two horizontal (vertical) margins are dropped
// when the destination is narrower (lower) than their sum. Parts with nothing to copy stay magenta.
// The bitmap's DC keeps the colour-on-colour stretch mode. Null when there is nothing to draw or
// the destination is larger than a bitmap can be.
std::unique_ptr<fw::TBitmap> BuildSkinImage(const RECT& dest, fw::TBitmap& image, const TMargins& margins,
                                            bool vertical, bool tile, int frameCount, int frame);
// The same picture drawn into the part dest of a bitmap that holds it (a kept buffer, which
// may be larger); false, with nothing drawn, when there is nothing to draw or dest lies outside.
bool BuildSkinImage(fw::TBitmap& into, const RECT& dest, fw::TBitmap& image, const TMargins& margins, bool vertical,
                    bool tile, int frameCount, int frame);

// The nine-grid picture of BuildSkinImage put on dc at dest: colour-keyed on magenta when
// transparent (the destination shows through), opaque otherwise.
void DrawSkinImage(HDC dc, const RECT& dest, fw::TBitmap& image, bool vertical, bool tile, bool transparent,
                   int frameCount, int frame, const TMargins& margins);
void DrawSkinImage(fw::TCanvas& canvas, const RECT& dest, fw::TBitmap& image, bool vertical, bool tile,
                   bool transparent, int frameCount, int frame, const TMargins& margins);

// Repeats the source rectangle of image (clipped to the image) over dest in rows and columns,
// starting at dest's top-left; the tiles at the right and bottom are cut at dest's edges.
void DrawTiled(HDC dc, const RECT& dest, fw::TBitmap& image, const RECT& source);
void DrawTiled(fw::TCanvas& canvas, const RECT& dest, fw::TBitmap& image, const RECT& source);

// Copies image unscaled to dest's top-left (cut to dest's size), leaving the destination where the
// image shows the key colour. A key of fw::clNone copies opaquely.
void TransparentBlit(HDC dc, const RECT& dest, fw::TBitmap& image, fw::TColor key = clSkinKey);

// Frame `frame` of a strip of frames side by side, stretched into dest; colour-keyed or opaque.
void DrawStripFrame(HDC dc, const RECT& dest, fw::TBitmap& image, bool transparent, int frameCount, int frame);
// The same frame unscaled, centred in dest (offsets (dest size - frame size) / 2) and cut at dest.
void DrawStripFrameCentred(HDC dc, const RECT& dest, fw::TBitmap& image, bool transparent, int frameCount,
                           int frame);

// Opaque horizontal three-slice of one frame: when dest is at least as wide as the frame, the left
// end (ends.Left wide) and the right end (ends.Right wide) keep their widths and the middle is
// stretched between them, all stretched to dest's height; a narrower dest gets the whole frame
// stretched. Only ends.Left and ends.Right are used.
void DrawThreeSlice(HDC dc, const RECT& dest, fw::TBitmap& image, bool vertical, int frameCount, int frame,
                    const TMargins& ends);

// Horizontal three-slice whose middle is repeated at its own width (not stretched) from the left
// end until the right end; every part is stretched to dest's height. Colour-keyed or opaque.
void DrawTitleBack(HDC dc, const RECT& dest, fw::TBitmap& image, bool vertical, bool transparent, int frameCount,
                   int frame, const TMargins& ends);
void DrawTitleBack(fw::TCanvas& canvas, const RECT& dest, fw::TBitmap& image, bool vertical, bool transparent,
                   int frameCount, int frame, const TMargins& ends);

// The region of the pixels of bitmap that are not transparent, moved by (x, y). A pixel is
// transparent when each of its red, green and blue values lies between the key's and the key's
// plus the tolerance of that channel (negative tolerances count as 0). Every horizontal run of
// opaque pixels is one rectangle; rectangles are turned into region parts 2000 at a time. Empty
// (null) for an empty or fully transparent bitmap. The bitmap is read as it is, of any depth.
[[nodiscard]] fw::TRegionHandle RegionFromBitmap(fw::TBitmap& bitmap, int x, int y, int toleranceB,
                                                 int toleranceG, int toleranceR, fw::TColor key = clSkinKey);
// The same for the part of the bitmap inside part, its top-left put at (x, y).
[[nodiscard]] fw::TRegionHandle RegionFromBitmap(fw::TBitmap& bitmap, const RECT& part, int x, int y,
                                                 int toleranceB, int toleranceG, int toleranceR,
                                                 fw::TColor key = clSkinKey);

// Paints what the control's parent shows behind the control into dc, whose origin is the control's
// top-left: the parent erases (WM_ERASEBKGND) and paints (WM_PAINT with the DC) with its viewport
// moved by the control's position and clipped to the control's bounds; dc's state is restored.
// Nothing for a control without a parent window. A control whose own painting is asked for again
// from inside (the parent painting its graphic children) is skipped the second time.
void DrawParentImage(fw::TControl* control, HDC dc);

// A skin element's frame `frame` of `frameCount` side by side, nine-grid scaled into dest with the
// element's margins and tile flag, colour-keyed on magenta when transparent.
void DrawSkinFrame(HDC dc, const RECT& dest, int frameCount, int frame, fw::TBitmap& image, const TMargins& margins,
                   bool tile, bool transparent);

// Frame `frame` of a strip of `frameCount` frames side by side, stretched into dest, colour-keyed
// on magenta.
void DrawKeyedFrame(HDC dc, const RECT& dest, int frameCount, int frame, fw::TBitmap& image);
void DrawKeyedFrame(fw::TCanvas& canvas, const RECT& dest, int frameCount, int frame, fw::TBitmap& image);

// A caption into rect in dc's font made plain (no bold, italic, underline or strike-out), on a
// transparent background: measured first, then centred vertically (one pixel high of the middle)
// and, with DT_CENTER, horizontally; left or right aligned on rect's full width otherwise. A
// disabled caption is drawn in the system's button-shadow colour, an enabled one in dc's text
// colour. extraFlags (DT_RTLREADING, say) are added to the drawing, not to the measuring.
void DrawCaptionText(HDC dc, const RECT& rect, UINT alignment, bool enabled, const std::wstring& text,
                     UINT extraFlags = 0);

}  // namespace skin
