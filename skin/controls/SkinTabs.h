// Tab controls and their relatives drawn from the skin's Tabs element: tab controls and page
// controls (the tab strip on any side and the page frame, optionally a close box on every tab),
// the old tab-set control with its scroll arrows, tab controls in button style (from the Buttons
// element), the pages of a page control, and one other library's page control that draws its
// tabs itself from two images it is given.
//
// Tabs frames: 1 normal, 2 selected; where the element has them, 3 for every tab of a disabled
// control and 5 for the selected tab while the control has the focus. The page frame comes from
// the Tabs element's second image ("Border", margins 4, 5, 4, 4) or, when the Tabs element's
// Style is 1, from Tab.Pane (its own margins). Tabs on the bottom use the images flipped top to bottom; tabs on the left or right
// are composed as top tabs and turned, so their images and texts turn with them.
//
// Classes in this file: TSkinTab, TSkinTab31, TSkinTabBtn, TSkinTabSheet, TSkinAdvPage.
#pragma once
#include <optional>
#include <vector>

#include "Graphics.h"
#include "skin/controls/WinSubClass.h"

namespace skin {

class TSkinUpDown;

// A page control's Tag that asks the skin for a close box on every tab.
inline constexpr intptr_t kCloseBoxTag = 7777;

// Tab sides, from the tab window's style.
enum TTabSide : int { tsTop = 0, tsBottom = 1, tsLeft = 2, tsRight = 3 };
TTabSide TabSideOf(LONG style);

// The page a tab of a page control stands for (pages without a tab are passed over); null when
// the control is no page control or has no such tab.
fw::TControl* PageOfTab(fw::TWinControl* pageControl, int tabIndex);

class TSkinTab : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinTab(fw::TComponent* owner);
  ~TSkinTab() override;
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  void InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) override;
  // WM_PAINT and WM_ERASEBKGND are answered here while the skin has tab images; a left press on
  // a close box asks the form (WM_SKIN_TABCLOSE) and is consumed, every other press goes on.
  bool BeforeMessage(fw::TMessage& m) override;
  // The tab under the mouse is hot (its own frame when the skin has one).
  void AfterMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;
  void SkinChanged() override;

  // Close-box rectangles of the tabs at the last paint (client coordinates); none for a tab
  // that was not drawn.
  std::vector<std::optional<RECT>> FCloseRects;
  TTabSide FSide = tsTop;
  bool FTabUnicode = true;
  fw::TBitmap FTabImage;   // the Tabs image, flipped for the bottom side
  fw::TBitmap FPaneImage;  // the page frame, flipped or turned for the side
  fw::TBitmap FStrip;      // the tab strip, composed as top tabs
  TSkinUpDown* FUpDown = nullptr;
  bool FCloseBoxes = false;
  int FHotTab = -1;  // the tab under the mouse, -1 for none

protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
  void BuildImages();
  void FindUpDown();
  // Tag 7777 on a page control whose pages may be closed.
  bool CloseBoxesWanted() const;
  // Asks the form about closing the tab and frees its page unless the form keeps it.
  void CloseTab(int tabIndex);
  bool HasTabImage() const;

  fw::TBitmap FBuffer;  // the whole window, blitted once
  fw::TControl* FClosingPage = nullptr;
};

// The old tab-set control: tabs hanging from its top edge, laid out by the skin from the
// control's published Tabs, TabIndex, FirstIndex, StartMargin and EndMargin, and its scroll arrows
// (its first owned component) drawn as a horizontal up-down.
class TSkinTab31 : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinTab31(fw::TComponent* owner);
  ~TSkinTab31() override;
  // Attaches to the control's window itself, in front of everything the control does.
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  bool BeforeMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;
  void SkinChanged() override;

  fw::TBitmap FTabImage;  // the Tabs image flipped
  TSkinUpDown* FUpDown = nullptr;

protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
  void BuildImage();
  fw::TBitmap FBuffer;
};

// Tab controls in button style: every tab a button of the Buttons element (frame 2 for the
// selected one); the rest of the window in the face colour.
class TSkinTabBtn : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinTabBtn(fw::TComponent* owner);
  bool BeforeMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;

private:
  bool HasButtonImage() const;
  fw::TBitmap FBuffer;
};

// A page of a page control: the face colour, and its graphic children on it.
class TSkinTabSheet : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinTabSheet(fw::TComponent* owner);
  bool BeforeMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;
};

// A page control of another library that draws its tabs from the images in its published bitmap
// properties "TabBackGround" and "TabBackGroundActive": the skin gives it 100 x 21 pictures of
// the Tabs frames 1 and 2 (variant 4) and takes them back at restore.
class TSkinAdvPage : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinAdvPage(fw::TComponent* owner);
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  void RestoreControl() override;
  void DrawControl(HDC dc, const RECT& rect) override;
  void SkinChanged() override;

  TSkinUpDown* FUpDown = nullptr;

protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
  // Gives the two tab pictures to the control (empty ones when clear).
  void AssignImages(bool clear);
};

}  // namespace skin
