// The objects of a skinned window's non-client area that follow the mouse: TNCObject runs the
// normal, pressed and hot states of one object and repaints it in each; TWinSysButton is a
// caption button, TMenuBtn a button of the menu bar. TWinSkinMenu is the menu bar drawn inside
// the skinned frame, built from the window's menu. The menu tracking state and its message
// filter let the arrow keys and the mouse move from one drop-down of the bar to the next.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "Graphics.h"
#include "Menus.h"

namespace skin {

class TWinSkinForm;
class TSkinData;
class TDataSkinSysButton;

// Drawing states of a non-client object (frames of a caption button's image).
enum TDrawState : int { dsNormal = 1, dsPressed = 2, dsHot = 3, dsDisabled = 4 };

class TNCObject {
public:
  explicit TNCObject(TWinSkinForm* owner) : FOwnerForm(owner) {}
  // An object that is freed is never left as its form's hot object.
  virtual ~TNCObject();
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseMove();
  virtual void MouseLeave();
  virtual void Paint() {}

  TWinSkinForm* FOwnerForm;
  RECT FBounds{};  // window coordinates
  bool FVisible = false;
  int FDrawState = dsNormal;
};

class TWinSysButton : public TNCObject {
public:
  TWinSysButton(TWinSkinForm* owner, TDataSkinSysButton* element) : TNCObject(owner), FElement(element) {}
  void Paint() override;  // the form paints the button in FDrawState

  TDataSkinSysButton* FElement;
  bool FEnabled = true;
};

class TMenuBtn : public TNCObject {
public:
  using TNCObject::TNCObject;
  void Paint() override;

  fw::TMenuItem* FItem = nullptr;
  TSkinData* FSkinData = nullptr;
  int FIndex = 0;
  std::wstring FCaption;  // with its "&" accelerator marks
  bool FEnabled = true;
  HMENU FSubMenu = nullptr;
  UINT FCommand = 0;
  int FWidth = -1;  // the measured width of the caption, once laid out
};

class TWinSkinMenu : public fw::TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TWinSkinMenu(TWinSkinForm* form);
  ~TWinSkinMenu() override;

  // Buttons from the window's menu (or the one handed over); the window's menu is then taken off.
  void Build();
  // The same after a change of the menu: items the window's menu shows no text for are taken
  // from the framework menu; ends with Layout.
  void Rebuild();
  // Every button's rectangle, without painting.
  void Layout();
  // The band into rect of dc (window coordinates), background kept for single-button repaints.
  void Paint(HDC dc, const RECT& rect);
  // The button at a point in window coordinates that has a caption, or none.
  TMenuBtn* ButtonAt(POINT p) const;
  // The button after (next) or before the open one, wrapping round.
  TMenuBtn* NeighbourButton(bool next) const;
  int Count() const { return static_cast<int>(FButtons.size()); }
  TMenuBtn* Button(int i) const { return FButtons.at(static_cast<std::size_t>(i)).get(); }

  std::vector<std::unique_ptr<TMenuBtn>> FButtons;
  fw::TMainMenu* FFrameworkMenu = nullptr;
  RECT FBandRect{};
  TSkinData* FSkinData = nullptr;
  TWinSkinForm* FSkinForm = nullptr;
  fw::TBitmap FBandBuffer;
  int FCount = 0;
  bool FPainting = false;
  HMENU FMenuHandle = nullptr;

private:
  friend class TMenuBtn;
  void ReadButtons(bool rebuild);
  int StartOffset(int bandWidth) const;
  int ButtonWidth(HDC dc, const std::wstring& caption) const;
  // Lays the buttons out left to right (or right to left) in a band of the given size, at origin.
  void PlaceButtons(HDC dc, int bandWidth, int bandHeight, POINT origin);
  void DrawCaption(HDC dc, const TMenuBtn& button, const RECT& r) const;
  bool RightToLeft() const;
};

// The screen's menu font (the system's non-client metrics), which the band and the skinned menu
// items are drawn in.
HFONT MenuFont();

// The state of a menu-bar drop-down being tracked, shared by the form that opens it and the
// message filter that switches between the bar's drop-downs.
struct TMenuTracking {
  TWinSkinForm* TrackingForm = nullptr;
  int OpenButtonIndex = -1;
  fw::TMenuItem* CurrentMenuItem = nullptr;
  HHOOK FilterHook = nullptr;
  POINT LastMousePos{};
  bool FirstMessageSeen = false;
  bool Switching = false;
  bool MenuSwitched = false;
  HWND DownTarget = nullptr;  // where the opening key was posted
};
// The lParam of the key the filter posts to open a drop-down with its first item selected.
inline constexpr LPARAM kOpeningKeyMark = 0x41A20001;
extern TMenuTracking MenuTracking;

void StartTracking();
void EndTracking();
// A selection in the tracked drop-down (WM_MENUSELECT): the framework item it is, or the close.
void TrackMenuSelect(WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam);

}  // namespace skin
