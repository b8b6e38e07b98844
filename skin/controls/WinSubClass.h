// The base of every skin object that draws one standard control from the skin, and the drawing
// and property routines the control skins share.
//
// A skin object creates no window. It attaches to one existing window and puts its message
// entry (NewWndProc) in front of the window's procedure: for a framework control by replacing
// the control's WindowProc (the skin object is then owned by the control and freed with it),
// for a bare window by subclassing it with the process's window hook. The window's own procedure
// still does the control's work; the skin paints over its result or instead of it.
//
// Giving back: a WindowProc or window procedure is restored only while ours is still the one in
// force. When someone hooked on top of us, a pass-through stays in our place: the window hook's
// parked stub for a bare window (until its WM_NCDESTROY), the inactive skin object itself for a
// framework control (freed with the control, its owner). No window or control ever calls into a
// freed skin object.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"
#include "Messages.h"
#include "Thunk.h"

namespace fw {
class TImageList;
}

namespace skin {

class TSkinData;
class TDataSkinObject;
class TWinSkinForm;

// Status of a skin control (FStatus).
enum : int { scCreated = 0, scAttached = 1, scRestored = 2, scKeepColour = 4, scWindowGone = 6 };
// Bits of FState.
enum : unsigned char { ssHot = 1, ssDown = 2 };

class TSkinControl : public fw::TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TSkinControl(fw::TComponent* owner);
  ~TSkinControl() override;

  // -- the eight operations the control skins override, in this order
  // Attaches to the owner control (a TWinControl). A second call changes nothing.
  virtual void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor);
  // Attaches to a bare window.
  virtual void InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form);
  // Undoes what attaching changed on the control (its colour, its parent background).
  virtual void RestoreControl();
  // Pre-handler: true lets the window's own procedure process the message; false consumes it
  // (the handler set Result where needed).
  virtual bool BeforeMessage(fw::TMessage& m);
  // Post-handler, after the window's own procedure.
  virtual void AfterMessage(fw::TMessage& m);
  // Paints the whole window into dc (its window DC when dc is 0).
  virtual void PaintControl(HDC dc);
  // Draws the control's skin into dc inside rect (window coordinates from 0,0).
  virtual void DrawControl(HDC dc, const RECT& rect);
  // The skin was replaced: colours again, repaint.
  virtual void SkinChanged();

  // Gives the window or control back before the form frees this object. False when the object
  // must stay, inactive, as the pass-through of someone who hooked the control on top of it: it
  // has then left the form and is freed with its control.
  bool Release();

  // -- the message entry and the window's own processing
  void NewWndProc(fw::TMessage& m);
  void CallDefault(fw::TMessage& m);

  // -- painting
  // Invalidates FPaintControl, or the window (erased) and updates it at once.
  void Repaint();
  // Paints in answer to WM_PAINT: into the DC of WParam, or between BeginPaint and EndPaint.
  void PaintNow(fw::TMessage& m);

  // -- attributes read by the form
  HWND Handle() const { return FHandle; }
  fw::TWinControl* Control() const { return FControl; }
  int Status() const { return FStatus; }
  bool Active() const { return FActive; }
  bool Recolor() const { return FRecolor; }
  // Live skin objects of the process (for tests and leak checks).
  static int LiveCount();

  // -- fields (the control skins read and write them)
  unsigned char FState = 0;
  fw::TCanvas* FCanvas = nullptr;
  bool FEnabled = false;
  bool FFocused = false;
  std::wstring FCaption;
  bool FActive = true;
  bool FUnicode = true;
  TSkinData* FSkinData = nullptr;
  HWND FHandle = nullptr;
  fw::TWndMethod FOldWindowProc;
  fw::TWinControl* FControl = nullptr;
  fw::TControl* FHookedControl = nullptr;  // whose WindowProc FOldWindowProc came from
  RECT FWindowRect{};
  fw::TControl* FPaintControl = nullptr;
  bool FRecolor = false;
  fw::TColor FOldColor = 0;
  bool FOldParentColor = false;
  bool FInitialized = false;
  int FStatus = scCreated;
  TWinSkinForm* FForm = nullptr;
  int FKind = 0;
  bool FParentBackgroundChanged = false;

protected:
  // -- helpers of the control skins
  // Answer to WM_ERASEBKGND for a transparent face: the parent's image (framework control) or
  // the parent's colour; Result 1.
  void EraseBackground(fw::TMessage& m);
  // The parent's published "Color", or fallback.
  fw::TColor GetParentColor(fw::TColor fallback) const;
  void FillColor(HDC dc, const RECT& rect, fw::TColor colour) const;
  void FillFace(HDC dc, const RECT& rect) const;
  void FillParentColor(HDC dc, const RECT& rect) const;
  // The focus rectangle round FCaption as it would be drawn into rect with flags.
  void DrawFocusAround(HDC dc, UINT flags, const RECT& rect) const;
  LONG WindowLong(int index) const;
  // Delivers a swallowed left press to the framework control's MouseDown.
  void ForwardMouseDown(const fw::TMessage& m);
  // Hands a left press to the window's own procedure (which may run its own loop inside it, or
  // free the window) and, while this object still lives, shows the pressed state.
  void PressThrough(fw::TMessage& m);
  // flags plus DT_RTLREADING for a right-to-left control.
  UINT TextFlags(UINT flags) const;
  // Gives the framework control's Color and ParentBackground what attaching changed.
  void SetParentBackground(bool attaching);
  // Puts the framework control's WindowProc back while ours is the one in force; false when
  // someone hooked on top of us.
  bool ReleaseWindowProc();
  // Puts NewWndProc in front of the control's WindowProc.
  void HookWindowProc(fw::TControl* control);
  // Registers with the form; the base InitControl and InitWindow call it.
  void RegisterWithForm();
  fw::TColor FaceColour() const;

  fw::TWindowHook FHook;  // bare windows
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);

private:
  static LRESULT CALLBACK Entry(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
};

// -- drawing routines of the control skins (nothing for an empty rectangle)

// Frame `index` (1-based) of `count` side by side of a skin element, nine-grid scaled into rect
// with the element's margins and tile flag, colour-keyed when the element is transparent.
void DrawSkinFrame(HDC dc, const RECT& rect, int count, int index, TDataSkinObject* element);
// A caption drawn plain and centred vertically (one pixel high) in rect; see SkinDraw.
void DrawCaptionText(fw::TControl* control, HDC dc, const RECT& rect, UINT alignment, bool enabled,
                     const std::wstring& text);
// An image-list image and a one-line caption (ellipsis) laid out in rect: alignment 0 left,
// 1 centre, 2 right.
void DrawImageAndText(TSkinControl* skin, HDC dc, const RECT& rect, int alignment, const std::wstring& text,
                      int imageIndex, fw::TImageList* images);
// The same with a system image list (a tab or header control's own).
void DrawImageAndText(TSkinControl* skin, HDC dc, const RECT& rect, int alignment, const std::wstring& text,
                      int imageIndex, HIMAGELIST images);

// -- published properties by name, so that controls of other libraries with the same property
// names are drawn as well. Absent properties read as -1, empty or null and are never written.
int GetIntPropByName(fw::TObject* object, const std::string& name);
// An enumeration's identifier ("blGlyphLeft"); a Boolean reads "True" or "False".
std::string GetEnumPropByName(fw::TObject* object, const std::string& name);
std::wstring GetTextPropByName(fw::TObject* object, const std::string& name);
fw::TObject* GetObjectPropByName(fw::TObject* object, const std::string& name, const fw::TClassInfo& cls);
// Integer from its decimal text, enumeration (and Boolean "True"/"False") by identifier, text.
void SetPropByName(fw::TObject* object, const std::string& name, const std::wstring& text);
// Whether the object publishes a property of that name.
bool HasPropByName(fw::TObject* object, const std::string& name);

std::wstring GetWindowTextWide(HWND window);
// A popup window: WS_POPUP, or a window whose parent is the desktop.
bool IsPopupWindow(HWND window);

}  // namespace skin
