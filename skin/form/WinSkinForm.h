// TWinSkinForm: the skin object of one top-level window. It takes over the window procedure,
// hides the system frame and computes, paints and runs the non-client area from the skin of a
// TSkinData; it also dispatches the skinning of the window's controls and menus.
//
// Files of this unit: WinSkinForm.cpp (life cycle, set-up, the window procedure's stages, MDI
// client, unskinning), WinSkinFormPaint.cpp (frame widths, borders, caption band, title, icon,
// region), WinSkinFormCaption.cpp (caption buttons, hit testing, sizing), WinSkinFormMenus.cpp,
// WinSkinFormControls.cpp.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "Controls.h"
#include "Forms.h"
#include "Graphics.h"
#include "Menus.h"
#include "Thunk.h"
#include "Timers.h"

namespace skin {

class TSkinData;
class TNCObject;
class TWinSysButton;
class TMenuBtn;
class TWinSkinMenu;
class TSkinControl;

// Life-cycle states of a form skin (FState).
enum TFormSkinState : int {
  fsCreated = 0,     // attached, not yet activated: nothing is painted
  fsRunning = 1,     // skinned
  fsReskinning = 3,  // re-applying the skin after it changed
  fsDestroying = 4,  // from WM_NCDESTROY until the old procedure returned
  fsActivating = 5,  // the first resize during activation
  fsFinished = 6     // the window is gone; the manager reclaims the object
};

// Frame kinds (FFrameKind).
enum TFrameKind : int { fkSizeable = 0, fkFixed = 1, fkNoCaption = 2, fkDialog = 3 };
// Show states (FShowState).
enum TShowState : int { ssNormal = 0, ssMaximized = 1, ssMinimized = 2 };
// MDI roles (FMDIRole).
enum TMDIRole : int { mrNone = 0, mrFrame = 1, mrChild = 2 };

class TWinSkinForm : public fw::TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TWinSkinForm(fw::TComponent* owner);
  ~TWinSkinForm() override;

  // Set-up by the skin manager, after it has set FHandle, FManagerTag and FClassName.
  void AttachForm(TSkinData* skinData, fw::TCustomForm* form);
  void AttachWindow(TSkinData* skinData);

  // Takes the skin off and gives the window its system frame back.
  void Unskin();
  // Takes the hooks off, leaving sizes, styles and colours (manager shutdown, WM_NCDESTROY).
  void Unhook();

  // After the skin data's content changed, in this order.
  void FreeSysButtons();
  void CreateSysButtons();
  void SkinChanged();

  void SetCaptionStyle(bool on);
  void SetSysMenuStyle(bool on);
  // Makes the system recompute the non-client area (WM_NCCALCSIZE).
  void FrameChanged();
  void UpdateRegion();
  void FreeRegion();
  // Paints the whole frame into dc, or into the window's own DC when dc is null.
  void PaintFrame(HDC dc);

  // Caption buttons (WinSkinFormCaption.cpp).
  bool ButtonVisible(int index);
  void PaintButton(TWinSysButton* button, int state);
  TWinSysButton* ButtonAt(POINT p) const;
  POINT ScreenToWindow(int x, int y) const;
  void ToggleMaximize();
  void ToggleMinimize();
  void Restore();
  void SendToActiveChild(UINT command);
  void ShowSysMenu(POINT p);
  void BuildSysMenu();
  bool HasCloseItem() const;
  const std::vector<std::unique_ptr<TWinSysButton>>& SysButtons() const { return FSysButtons; }
  // The menu bar (WinSkinFormMenus.cpp).
  bool TrackMenuButton(TMenuBtn* button);
  void ClickMenuButton(TMenuBtn* button);
  TMenuBtn* FindAccelButton(wchar_t key) const;
  // The skin's menu-item painters, given to the items of framework menus.
  void MeasureMainItem(fw::TObject* sender, fw::TCanvas& canvas, int& width, int& height);
  void MeasurePopupItem(fw::TObject* sender, fw::TCanvas& canvas, int& width, int& height);
  void DrawMenuItem(fw::TObject* sender, fw::TCanvas& canvas, const RECT& rect, bool selected);

  // Control skins (WinSkinFormControls.cpp): which skin object takes over which child control,
  // and the list of those objects.
  void SkinFormControls(fw::TCustomForm* form);
  void SkinComponents(fw::TComponent* owner);
  void SkinChildren(fw::TWinControl* container);
  void SkinControl(fw::TControl* control, fw::TWinControl* parent);
  bool SkinThirdParty(const std::wstring& className, fw::TControl* control);
  void SkinChildWindows(HWND window);
  void SkinChildWindow(HWND window);
  // A child window created after activation, as the skin manager reports it (posted).
  void SkinLateWindow(HWND window);
  bool RegisterControl(TSkinControl* control);
  void RemoveControl(TSkinControl* control);
  void FreeAllControls();
  void FreeDeadControls();
  bool IsSkinned(fw::TControl* control) const;
  bool AlreadySkinned(fw::TControl* control) const;
  TSkinControl* FindControlByHandle(HWND window) const;
  void ReskinScrollbars(HWND window);
  // WM_SKIN_TABCLOSE (wParam the tab window, lParam the tab): the window's own procedure answers
  // first; unless it keeps the page (non-zero), the skin data's OnTabClose may. 0 lets the page go.
  LRESULT TabClose(WPARAM wParam, LPARAM lParam);
  const std::vector<TSkinControl*>& Controls() const { return FControls; }
  fw::TCanvas& ControlCanvas() { return FControlCanvas; }

  // Messages of this form skin's window procedure currently on the stack.
  int MessageDepth() const { return FDepth; }
  bool Hooked() const { return FHook.Installed(); }

  // Links
  HWND FHandle = nullptr;
  fw::TCustomForm* FForm = nullptr;
  TSkinData* FSkinData = nullptr;
  std::uintptr_t FManagerTag = 0;
  std::wstring FClassName;
  std::wstring FWndClass;
  HWND FOwnerWnd = nullptr;
  HWND FClientWnd = nullptr;

  // Geometry (pixels)
  int FBorderLeft = 0, FCaptionHeight = 0, FBorderRight = 0, FBorderBottom = 0;
  int FMenuHeight = 0;
  RECT FClientRect{};
  RECT FSysFrame{};  // window size minus client size at activation (left and top 0)
  RECT FWindowRect{};
  int FWidth = 0, FHeight = 0;
  RECT FTitleRect{};
  int FButtonsLeft = 0;
  int FRegionWidth = 0, FRegionHeight = 0;
  int FTitleWidth = 0;
  std::wstring FTitleText;

  // Style and state
  LONG FStyle = 0;
  bool FCanMaximize = false, FCanMinimize = false, FHasSysMenu = false, FStripCaption = false;
  bool FSizeable = false, FRightToLeft = false, FIsChild = false, FUnicode = false, FIsDialog = false;
  int FMDIRole = mrNone;
  int FFrameKind = fkFixed;
  int FShowState = ssNormal;
  bool FActive = true;
  int FState = fsCreated;
  bool FFrameOn = false;
  bool FMenuUpdateSaved = false;
  bool FActivated = false;
  bool FTracking = false;
  // Style bits the skin took away, given back by Unskin.
  LONG FRemovedStyle = 0;

  // Painting resources
  fw::TFontHandle FCaptionFont;
  fw::TBitmap FCaptionBuffer;
  fw::TBitmap FIconBitmap;
  HICON FIcon = nullptr;
  int FIconSize = 0;
  bool FRegionSet = false;

  // Non-client objects
  TNCObject* FHot = nullptr;      // the caption or menu-bar button under the mouse
  TNCObject* FPressed = nullptr;  // the caption button held down (the window has the capture)
  TWinSkinMenu* FMenuBar = nullptr;
  HMENU FTrackedMenu = nullptr;
  std::unique_ptr<fw::TPopupMenu> FSysMenu;
  DWORD FLastSysMenuTick = 0;
  int FClosedButton = -1;  // the band button whose drop-down a click on it just closed
  DWORD FClosedTick = 0;
  UINT FDoubleClickTime = GetDoubleClickTime();

  // Control skins
  std::vector<TSkinControl*> FControls;
  fw::TCanvas FControlCanvas;
  TSkinControl* FHotControl = nullptr;

  // Other
  HMENU FMenu = nullptr;
  HMENU FSysMenuHandle = nullptr;
  fw::TColor FSavedColor = 0;
  const std::wstring FTitlePrefix = L"  ", FTitleSuffix = L" ";

protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
  // Core (WinSkinForm.cpp)
  void Setup(TSkinData* skinData);
  void ActivateSkin();
  void RecordSystemFrame();
  void FitRestoredPlacement();
  void ResizeToSkin(bool keepClient);
  void UpdateShowState();
  void FindMDIClient();
  void LoadCaptionFont();
  void AfterSkin();
  void UnhookClient();
  void ForgetMDIClient();
  void TimerTick(fw::TObject*);
  template <LRESULT (TWinSkinForm::*Proc)(UINT, WPARAM, LPARAM)>
  static LRESULT CALLBACK Entry(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  bool Stage1(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool Stage2(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, bool& handled);
  bool Stage3(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, bool handled);
  LRESULT SizeHandler(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT ClientWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void FormWindowProc(fw::TMessage& m);
  LRESULT CallOld(UINT msg, WPARAM wParam, LPARAM lParam);

  // Painting (WinSkinFormPaint.cpp)
  void ComputeFrameWidths();
  LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
  void PaintCaption(HDC dc);
  void PaintTitle(fw::TCanvas& canvas, const RECT& r);
  void PaintBorder(int piece, const RECT& rect, HDC dc);
  void LoadIcon();
  void DrawIcon(HDC dc, const RECT& rect);
  std::wstring WindowText() const;
  // Caption buttons, laid out and drawn into the caption band by PaintCaption (WinSkinFormCaption.cpp).
  void LayoutSysButtons();
  void LayoutRightButtons();
  void PaintSysButtons(fw::TCanvas& canvas);
  SIZE ButtonSize(const TWinSysButton& button) const;
  void DrawButtonFrame(HDC dc, const TWinSysButton& button, int frame);
  bool MDIChildButtonsShown() const;
  TNCObject* ObjectAt(POINT p) const;
  LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
  bool OnNcMouseMove(WPARAM wParam, LPARAM lParam);
  bool OnNcLButtonDown(WPARAM& wParam, LPARAM lParam);
  bool OnNcLButtonUp(WPARAM wParam, LPARAM lParam);
  bool OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam);
  bool OnNcRButtonDown(WPARAM wParam, LPARAM lParam);
  bool OnCapturedMouse(UINT msg, LPARAM lParam);
  bool ReleasePress(POINT screen);
  void SettleHotObject();
  void RunAction(TWinSysButton& button);
  void SysMenuClick(fw::TObject* sender);
  bool OwnerDrawSysMenu(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnSysCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnCommand(WPARAM wParam);
  std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;

  // Menu items drawn from the skin (WinSkinFormMenuItems.cpp)
  struct TItemLook {
    std::wstring Caption;
    bool Enabled = true, Checked = false, Separator = false;
    int ImageIndex = -1;
    fw::TImageList* Images = nullptr;
  };
  static TItemLook LookOf(fw::TMenuItem& item);
  void DrawItemContent(HDC dc, const RECT& r, const TItemLook& item, bool selected);
  void PaintItem(HDC dc, const RECT& dest, HMENU menu, const TItemLook& item, bool selected, bool separatorFrame);
  fw::TMenuItem* BandItem(UINT id) const;
  bool OnMeasureMenuItem(LPARAM lParam);
  bool OnDrawMenuItem(LPARAM lParam);
  void SetPopupMenusOwnerDraw(fw::TComponent* owner, bool on);
  void SetHandleItemsOwnerDraw(HMENU menu, std::vector<std::pair<HMENU, UINT>>& changed, int depth = 0);
  void RestoreHandleItems(const std::vector<std::pair<HMENU, UINT>>& changed);

  // Menu bar (WinSkinFormMenus.cpp)
  void CreateMenuBar();
  void FreeMenuBar(bool giveMenuBack);
  void MenuChanged();
  void MenuClick(POINT p);
  bool DialogChar(fw::TMessage& m);

  fw::TWindowHook FHook;        // the window's procedure
  fw::TWindowHook FClientHook;  // the MDI client's procedure
  fw::TWndMethod FOldFormProc;
  std::unique_ptr<fw::TTimer> FTimer;
  bool FSettingRegion = false;  // SetWindowRgn sends size and frame messages synchronously
  // The skin's own resizes, which a window's refusal of user resizing must not veto.
  int FOwnResize = 0;
  bool FUnskinning = false;
  bool FInSizeHandler = false;  // the system repaints the frame after WM_SIZE
  // The last image built of each border, kept for the next paint or region of the same size, in
  // the top-left Width x Height of a buffer that only grows.
  struct TBorderImage {
    const void* Element = nullptr;
    int Width = 0, Height = 0, Frame = 0;
    bool Valid = false;
    fw::TBitmap Image;
  };
  TBorderImage FBorderImages[4];
  TBorderImage* BorderImage(int piece, int width, int height);  // built or kept; none when it cannot be
  void ForgetBorderImages();  // the system frame is coming back: everything goes to the old procedure
  LRESULT OwnPosChanging(WPARAM wParam, LPARAM lParam);
  void SetOwnSize(int x, int y, int width, int height, UINT flags);
  int FDepth = 0;
  // Shared with every message on the stack: false once this object is gone.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace skin
