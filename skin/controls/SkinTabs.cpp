// Tab controls, page controls and their relatives drawn from the skin.
#include "skin/controls/SkinTabs.h"

#include <commctrl.h>

#include <algorithm>
#include <string_view>

#include "ComCtrls.h"
#include "GdiHandles.h"
#include "Lists.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinEdits.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"

namespace skin {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Tabs frames.
enum : int { tfNormal = 1, tfSelected = 2, tfDisabled = 3, tfHot = 4, tfFocused = 5 };
// Margins of the page frame drawn from the Tabs element's second image.
constexpr TMargins kBorderMargins{4, 5, 4, 4};
// The variant number the form gives the skin of the other library's page control.
constexpr int kAdvPageVariant = 4;
// The close box: a square of this side, at least this far inside the tab's right edge.
constexpr int kCloseBox = 7, kCloseInset = 2;  // odd: the diagonals cross on one pixel

// The object's class is the named class or derives from it, by name.
bool IsA(const fw::TObject* object, std::string_view name) {
  for (const fw::TClassInfo* c = object ? &object->ClassInfo() : nullptr; c; c = c->Parent)
    if (name == c->Name) return true;
  return false;
}

// Margins of an image that was flipped or turned as the pane image of a side is.
TMargins ForSide(const TMargins& m, TTabSide side) {
  switch (side) {
    case tsBottom: return {m.Left, m.Bottom, m.Right, m.Top};
    case tsLeft: return {m.Top, m.Right, m.Bottom, m.Left};    // turned counter-clockwise
    case tsRight: return {m.Bottom, m.Left, m.Top, m.Right};   // turned clockwise
    default: return m;
  }
}

// The page frame: the display area of the tab window inflated by 4, its edge on the tab side
// one pixel further in (the tabs end on it).
RECT PaneRect(HWND window, const RECT& client, TTabSide side) {
  RECT pane = client;
  SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
  InflateRect(&pane, 4, 4);
  switch (side) {
    case tsTop: ++pane.top; break;
    case tsBottom: --pane.bottom; break;
    case tsLeft: ++pane.left; break;
    case tsRight: --pane.right; break;
  }
  IntersectRect(&pane, &pane, &client);
  return pane;
}

// Where the tab strip of a window lies and how rectangles map into it. The strip is composed as
// top tabs (W x H, the page frame along its bottom edge, or along its top edge for the bottom
// side, whose tabs are drawn from flipped images instead) and then turned for the left side
// (counter-clockwise) and the right side (clockwise). It reaches `overlap` pixels into the page
// frame so that the selected tab can cover the frame's edge.
struct TStripGeometry {
  TTabSide Side = tsTop;
  RECT Place{};  // client coordinates
  int W = 0, H = 0;

  TStripGeometry(TTabSide side, const RECT& client, const RECT& pane, int overlap) : Side(side), Place(client) {
    switch (side) {
      case tsTop: Place.bottom = std::min<LONG>(client.bottom, pane.top + overlap); break;
      case tsBottom: Place.top = std::max<LONG>(client.top, pane.bottom - overlap); break;
      case tsLeft: Place.right = std::min<LONG>(client.right, pane.left + overlap); break;
      case tsRight: Place.left = std::max<LONG>(client.left, pane.right - overlap); break;
    }
    const bool turned = side == tsLeft || side == tsRight;
    W = std::max(0, turned ? Height(Place) : Width(Place));
    H = std::max(0, turned ? Width(Place) : Height(Place));
  }
  bool Empty() const { return W <= 0 || H <= 0; }
  // The row of the strip next to the page frame.
  int PaneRow() const { return Side == tsBottom ? 0 : H - 1; }

  RECT ToStrip(const RECT& r) const {
    RECT x = r;
    OffsetRect(&x, -Place.left, -Place.top);
    switch (Side) {
      case tsLeft: return {W - x.bottom, x.left, W - x.top, x.right};
      case tsRight: return {x.top, H - x.right, x.bottom, H - x.left};
      default: return x;
    }
  }
  RECT ToClient(const RECT& s) const {
    RECT x = s;
    switch (Side) {
      case tsLeft: x = {s.top, W - s.right, s.bottom, W - s.left}; break;
      case tsRight: x = {H - s.bottom, s.left, H - s.top, s.right}; break;
      default: break;
    }
    OffsetRect(&x, Place.left, Place.top);
    return x;
  }
  // Turns a composed strip into its place's orientation.
  void Turn(fw::TBitmap& strip) const {
    if (Side == tsLeft) RotateLeft(strip);
    if (Side == tsRight) RotateRight(strip);
  }
};

// A tab's text and image index, read as the window answers (wide or ANSI).
struct TTabItem {
  std::wstring Text;
  int Image = -1;
};

TTabItem ReadItem(HWND window, bool unicode, int index) {
  constexpr int kTextMax = 80;
  TTabItem item;
  if (unicode) {
    wchar_t text[kTextMax] = {};
    TCITEMW t{};
    t.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    t.pszText = text;
    t.cchTextMax = kTextMax;
    if (SendMessageW(window, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&t))) {
      text[kTextMax - 1] = 0;
      item.Text = text;
      item.Image = t.iImage;
    }
  } else {
    char text[kTextMax] = {};
    TCITEMA t{};
    t.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    t.pszText = text;
    t.cchTextMax = kTextMax;
    if (SendMessageA(window, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&t))) {
      text[kTextMax - 1] = 0;
      item.Text = AnsiToWide(text);
      item.Image = t.iImage;
    }
  }
  return item;
}

// The font a tab window draws its texts with.
HFONT TabFont(HWND window, fw::TWinControl* control) {
  if (auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0))) return font;
  if (control) return control->Font()->Handle();
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// A 24-bit copy of a skin image (empty when there is none).
void CopyImage(fw::TBitmap& to, const fw::TBitmap* from) {
  if (from && !from->Empty()) {
    to.Assign(*from);
    to.SetPixelFormat(fw::TPixelFormat::pf24bit);
  } else {
    to.SetSize(0, 0);
  }
}

// Copies a composed window picture to dc, leaving the scroll arrows' rectangle alone.
void PutPicture(HDC dc, fw::TBitmap& picture, HWND window, HWND arrows) {
  fw::TSaveDC keep(dc);
  if (arrows && IsWindowVisible(arrows)) {
    RECT r{};
    GetWindowRect(arrows, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  BitBlt(dc, 0, 0, picture.Width(), picture.Height(), picture.Canvas().Handle(), 0, 0, SRCCOPY);
}

// Gets a buffer of the size of rect ready; null when it is empty.
HDC PrepareBuffer(fw::TBitmap& buffer, const RECT& rect) {
  const int w = Width(rect), h = Height(rect);
  if (w <= 0 || h <= 0) return nullptr;
  if (buffer.Width() != w || buffer.Height() != h) buffer.SetSize(w, h);
  return buffer.Canvas().Handle();
}

HWND FindArrows(HWND window) { return window ? FindWindowExW(window, nullptr, UPDOWN_CLASSW, nullptr) : nullptr; }

// Attaches an up-down skin to the tab window's scroll arrows, once.
void AttachArrows(TSkinControl& owner, TSkinUpDown*& skin, fw::TComponent* skinOwner) {
  if (skin || !owner.FHandle || !owner.FSkinData) return;
  HWND arrows = FindArrows(owner.FHandle);
  if (!arrows || (owner.FForm && owner.FForm->FindControlByHandle(arrows))) return;
  skin = new TSkinUpDown(skinOwner);
  owner.FreeNotification(skin);
  skin->InitWindow(arrows, owner.FSkinData, owner.FCanvas, owner.FForm);
}

}  // namespace

TTabSide TabSideOf(LONG style) {
  if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? tsRight : tsLeft;
  return (style & TCS_BOTTOM) ? tsBottom : tsTop;
}

fw::TControl* PageOfTab(fw::TWinControl* pageControl, int tabIndex) {
  auto* pages = dynamic_cast<fw::TPageControl*>(pageControl);
  return pages ? pages->PageOfTab(tabIndex) : nullptr;
}

// ---------------------------------------------------------------------------
// TSkinTab
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinTab, TSkinControl)

TSkinTab::TSkinTab(fw::TComponent* owner) : TSkinControl(owner) {}

TSkinTab::~TSkinTab() = default;

void TSkinTab::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  if (FInitialized) return;
  TSkinControl::InitControl(form, skinData, canvas, recolor);
  if (!FInitialized) return;
  FEnabled = !(WindowLong(GWL_STYLE) & WS_DISABLED);
  FTabUnicode = IsWindowUnicode(FHandle) != FALSE;
  FCloseBoxes = CloseBoxesWanted();
  BuildImages();
  FindUpDown();
  FActive = true;
}

void TSkinTab::InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) {
  if (FInitialized) return;
  TSkinControl::InitWindow(window, skinData, canvas, form);
  if (!FInitialized) return;
  FEnabled = !(WindowLong(GWL_STYLE) & WS_DISABLED);
  FFocused = GetFocus() == window;
  FTabUnicode = IsWindowUnicode(window) != FALSE;
  FCloseBoxes = false;
  BuildImages();
  FindUpDown();
  FActive = true;
}

void TSkinTab::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation != fw::TOperation::opRemove) return;
  if (component == FUpDown) FUpDown = nullptr;
  if (component == FClosingPage) FClosingPage = nullptr;
}

bool TSkinTab::HasTabImage() const {
  TDataSkinBorder* tabs = FSkinData && !FSkinData->NoSkin() ? FSkinData->Tabs() : nullptr;
  return tabs && !tabs->Bitmap.Empty();
}

void TSkinTab::BuildImages() {
  FSide = FHandle ? TabSideOf(WindowLong(GWL_STYLE)) : tsTop;
  TDataSkinBorder* tabs = HasTabImage() ? FSkinData->Tabs() : nullptr;
  CopyImage(FTabImage, tabs ? &tabs->Bitmap : nullptr);
  const fw::TBitmap* pane = nullptr;
  if (tabs) {
    TDataSkinObject* tabPane = FSkinData->TabPane();
    // Style 1 frames the page with Tab.Pane; a skin without it keeps the Tabs border.
    pane = tabs->Style != 0 && tabPane && !tabPane->Bitmap.Empty() ? &tabPane->Bitmap : &tabs->Bitmap2;
  }
  CopyImage(FPaneImage, pane);
  switch (FSide) {
    case tsBottom:
      if (!FTabImage.Empty()) FlipBitmap(FTabImage);
      if (!FPaneImage.Empty()) FlipBitmap(FPaneImage);
      break;
    case tsLeft:
      if (!FPaneImage.Empty()) RotateLeft(FPaneImage);
      break;
    case tsRight:
      if (!FPaneImage.Empty()) RotateRight(FPaneImage);
      break;
    default:
      break;
  }
}

void TSkinTab::FindUpDown() { AttachArrows(*this, FUpDown, FControl ? static_cast<fw::TComponent*>(FControl) : Owner()); }

bool TSkinTab::CloseBoxesWanted() const {
  if (!FControl || FControl->Tag != kCloseBoxTag || !IsA(FControl, "TPageControl")) return false;
  return GetEnumPropByName(FControl, "FixedPages") != "True";
}

void TSkinTab::SkinChanged() {
  BuildImages();
  TSkinControl::SkinChanged();
}

bool TSkinTab::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (!HasTabImage()) break;
      PaintNow(m);
      return false;
    case WM_ERASEBKGND:
      if (!HasTabImage()) break;
      m.Result = 1;  // the paint covers the whole window
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!FCloseBoxes) break;
      const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      for (std::size_t i = 0; i < FCloseRects.size(); ++i) {
        if (!FCloseRects[i] || !PtInRect(&*FCloseRects[i], p)) continue;
        // Only a press on a close box is taken from the tab window; a second press of a double
        // click there closes nothing more.
        if (m.Msg == WM_LBUTTONDOWN) CloseTab(static_cast<int>(i));
        m.Result = 0;
        return false;
      }
      break;
    }
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinTab::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      // The tab under the mouse shows as hot, as the system's themed tabs do.
      TCHITTESTINFO hit{{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))}, 0};
      const auto tab = static_cast<int>(SendMessageW(FHandle, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      if (tab != FHotTab) {
        FHotTab = tab;
        Repaint();
      }
      TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, FHandle, 0};
      TrackMouseEvent(&t);
      break;
    }
    case WM_MOUSELEAVE:
      if (FHotTab != -1) {
        FHotTab = -1;
        Repaint();
      }
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinTab::CloseTab(int tabIndex) {
  fw::TControl* page = PageOfTab(FControl, tabIndex);
  if (!page) return;
  // The form's answer may free the page, the page control (and this object with it) or the form.
  const std::shared_ptr<bool> alive = FAlive;
  FClosingPage = page;
  FreeNotification(page);
  HWND form = FForm ? FForm->FHandle : nullptr;
  const LRESULT answer =
      form ? SendMessageW(form, WM_SKIN_TABCLOSE, reinterpret_cast<WPARAM>(FHandle), tabIndex) : 0;
  if (!*alive) return;
  page = FClosingPage;
  FClosingPage = nullptr;
  if (page) {  // not freed already
    RemoveFreeNotification(page);
    if (answer == 0) delete page;
  }
  // The tabs may have changed meanwhile: the close boxes are laid out again at once.
  FCloseRects.clear();
  Repaint();
}

void TSkinTab::DrawControl(HDC dc, const RECT& rect) {
  if (!dc || !FHandle || !HasTabImage()) return;
  TDataSkinBorder& tabs = *FSkinData->Tabs();
  const LONG style = WindowLong(GWL_STYLE);
  if (TabSideOf(style) != FSide) BuildImages();
  FEnabled = !(style & WS_DISABLED);
  FFocused = GetFocus() == FHandle;
  FCloseBoxes = CloseBoxesWanted();
  FindUpDown();

  // The window is composed off-screen (its client area, which a tab window's window is).
  const RECT client{0, 0, Width(rect), Height(rect)};
  HDC buffer = PrepareBuffer(FBuffer, client);
  if (!buffer) return;
  FillParentColor(buffer, client);
  const RECT pane = PaneRect(FHandle, client, FSide);

  // 5. The page frame, one frame nine-gridded over the display area.
  if (!FPaneImage.Empty()) {
    TDataSkinObject* tabPane = FSkinData->TabPane();
    const bool own = tabs.Style != 0 && tabPane && !tabPane->Bitmap.Empty();
    const TDataSkinObject& from = own ? *tabPane : tabs;
    DrawSkinImage(buffer, pane, FPaneImage, false, from.Tile != 0, from.Trans == 1, 1, 1,
                  ForSide(own ? tabPane->Margins : kBorderMargins, FSide));
  }

  // 2, 3. The tabs, composed as top tabs on the key colour.
  const int count = static_cast<int>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
  const int focus = static_cast<int>(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
  FCloseRects.assign(static_cast<std::size_t>(std::max(count, 0)), std::nullopt);
  const TStripGeometry g(FSide, client, pane, 1);
  if (!FTabImage.Empty() && !g.Empty() && count > 0) {
    if (FStrip.Width() != g.W || FStrip.Height() != g.H) FStrip.SetSize(g.W, g.H);
    HDC strip = FStrip.Canvas().Handle();
    FillColor(strip, {0, 0, g.W, g.H}, clSkinKey);
    fw::TSelectObject font(strip, TabFont(FHandle, FControl));
    const int oldMode = SetBkMode(strip, TRANSPARENT);
    for (int i = 0; i < count; ++i) {
      RECT r{};
      // A tab scrolled out of view has no rectangle.
      if (!SendMessageW(FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
      if (FSide == tsTop) OffsetRect(&r, 0, 1);
      const bool selected = i == focus;
      RECT t = g.ToStrip(r);
      // Tabs stand on the page frame; the selected one covers the frame's edge below it.
      RECT limit{0, 0, g.W, g.H};
      if (!selected && g.PaneRow() == 0) limit.top = 1;
      if (!selected && g.PaneRow() != 0) limit.bottom = g.H - 1;
      if (!IntersectRect(&t, &t, &limit)) continue;
      int frame = selected ? tfSelected : tfNormal;
      if (!FEnabled && tabs.FrameCount >= tfDisabled) frame = tfDisabled;
      else if (selected && FFocused && tabs.FrameCount >= tfFocused) frame = tfFocused;
      else if (!selected && i == FHotTab && tabs.FrameCount >= tfHot) frame = tfHot;
      DrawSkinImage(strip, t, FTabImage, false, tabs.Tile != 0, tabs.Trans == 1, tabs.FrameCount, frame,
                    tabs.Margins);
      const fw::TColor colour = selected ? tabs.MouseOverColour2 : tabs.NormalColour2;
      SetTextColor(strip, fw::ColorToRGB(colour));
      RECT text = t;
      if (FCloseBoxes) {
        // At the tab's end, inside its right edge, level with the text.
        const int right = t.right - std::max(kCloseInset, tabs.Margins.Right);
        const int top = t.top + (Height(t) - kCloseBox + 1) / 2;
        const RECT box{right - kCloseBox, top, right, top + kCloseBox};
        fw::TPenHandle pen(CreatePen(PS_SOLID, 1, fw::ColorToRGB(colour)));
        fw::TSelectObject p(strip, pen.Get());
        fw::TSelectObject b(strip, GetStockObject(NULL_BRUSH));
        Rectangle(strip, box.left, box.top, box.right, box.bottom);
        MoveToEx(strip, box.left, box.top, nullptr);
        LineTo(strip, box.right, box.bottom);
        MoveToEx(strip, box.right - 1, box.top, nullptr);
        LineTo(strip, box.left - 1, box.bottom);
        FCloseRects[static_cast<std::size_t>(i)] = g.ToClient(box);
        text.right = box.left - 1;
      }
      const TTabItem item = ReadItem(FHandle, FTabUnicode, i);
      DrawImageAndText(this, strip, text, 1, item.Text, item.Image, images);
    }
    SetBkMode(strip, oldMode);
    // 4. Turned into place and laid over the frame, the key colour letting the frame show.
    g.Turn(FStrip);
    TransparentBlit(buffer, g.Place, FStrip);
  }

  PutPicture(dc, FBuffer, FHandle, FindArrows(FHandle));
  // The paint was taken from the control, and with it the painting of its graphic children.
  if (FControl) FControl->PaintControls(dc);
}

// ---------------------------------------------------------------------------
// TSkinTab31
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinTab31, TSkinControl)

TSkinTab31::TSkinTab31(fw::TComponent* owner) : TSkinControl(owner) {}

TSkinTab31::~TSkinTab31() = default;

void TSkinTab31::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool) {
  if (FInitialized) return;
  auto* control = dynamic_cast<fw::TWinControl*>(Owner());
  if (!control) return;
  TSkinControl::InitWindow(control->Handle(), skinData, canvas, form);
  if (!FInitialized) return;
  FControl = control;  // read by its published properties; the window itself is hooked
  BuildImage();
  // The scroll arrows are the control's first own component.
  if (control->ComponentCount() > 0)
    if (auto* arrows = dynamic_cast<fw::TWinControl*>(control->Components(0))) {
      FUpDown = new TSkinUpDown(arrows);
      FUpDown->FHorizontal = true;
      FreeNotification(FUpDown);
      FUpDown->InitControl(form, skinData, canvas, false);
    }
}

void TSkinTab31::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == fw::TOperation::opRemove && component == FUpDown) FUpDown = nullptr;
}

void TSkinTab31::BuildImage() {
  TDataSkinBorder* tabs = FSkinData && !FSkinData->NoSkin() ? FSkinData->Tabs() : nullptr;
  CopyImage(FTabImage, tabs ? &tabs->Bitmap : nullptr);
  if (!FTabImage.Empty()) FlipBitmap(FTabImage);
}

void TSkinTab31::SkinChanged() {
  BuildImage();
  TSkinControl::SkinChanged();
}

bool TSkinTab31::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (FTabImage.Empty()) break;
      // Painted first; the control's own paint then finds nothing left to paint.
      PaintNow(m);
      return true;
    case WM_ERASEBKGND:
      if (FTabImage.Empty()) break;
      m.Result = 1;
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinTab31::DrawControl(HDC dc, const RECT& rect) {
  if (!dc || !FControl || FTabImage.Empty() || !FSkinData) return;
  TDataSkinBorder* tabs = FSkinData->Tabs();
  if (!tabs) return;
  const RECT all{0, 0, Width(rect), Height(rect)};
  HDC buffer = PrepareBuffer(FBuffer, all);
  if (!buffer) return;
  FillFace(buffer, all);
  FEnabled = FControl->Enabled();
  auto* list = dynamic_cast<fw::TStringList*>(GetObjectPropByName(FControl, "Tabs", fw::TStringList::StaticClassInfo()));
  auto* font = dynamic_cast<fw::TFont*>(GetObjectPropByName(FControl, "Font", fw::TFont::StaticClassInfo()));
  if (list) {
    const int selected = GetIntPropByName(FControl, "TabIndex");
    const int first = std::max(0, GetIntPropByName(FControl, "FirstIndex"));
    const int start = std::max(0, GetIntPropByName(FControl, "StartMargin"));
    const int endMargin = std::max(0, GetIntPropByName(FControl, "EndMargin"));
    const bool arrows = FUpDown && FUpDown->FHandle && IsWindowVisible(FUpDown->FHandle);
    const int end = all.right - endMargin - (arrows ? 21 : 9);
    fw::TSelectObject f(buffer, font ? font->Handle() : TabFont(FHandle, FControl));
    int x = start;
    for (int i = first; i < list->Count(); ++i) {
      const std::wstring text = list->Strings(i);
      SIZE size{};
      GetTextExtentPoint32W(buffer, text.c_str(), static_cast<int>(text.size()), &size);
      const int w = size.cx + 9;
      if (x + w > end) break;  // tabs that do not fit are not shown
      const RECT t{x, 0, x + w, all.bottom};
      const bool isSelected = i == selected;
      DrawSkinImage(buffer, t, FTabImage, false, tabs->Tile != 0, tabs->Trans == 1, tabs->FrameCount,
                    isSelected ? tfSelected : tfNormal, tabs->Margins);
      SetTextColor(buffer, fw::ColorToRGB(isSelected ? tabs->MouseOverColour2 : tabs->NormalColour2));
      DrawCaptionText(FControl, buffer, t, DT_CENTER, FEnabled, text);
      x += w;
    }
  }
  BitBlt(dc, 0, 0, all.right, all.bottom, buffer, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// TSkinTabBtn
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinTabBtn, TSkinControl)

TSkinTabBtn::TSkinTabBtn(fw::TComponent* owner) : TSkinControl(owner) {}

bool TSkinTabBtn::HasButtonImage() const {
  TDataSkinButton* b = FSkinData && !FSkinData->NoSkin() ? FSkinData->Buttons() : nullptr;
  return b && !b->Bitmap.Empty();
}

bool TSkinTabBtn::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (!HasButtonImage()) break;
      PaintNow(m);
      return false;
    case WM_ERASEBKGND:
      if (!HasButtonImage()) break;
      m.Result = 1;
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinTabBtn::DrawControl(HDC dc, const RECT& rect) {
  if (!dc || !FHandle || !HasButtonImage()) return;
  TDataSkinButton& buttons = *FSkinData->Buttons();
  const LONG style = WindowLong(GWL_STYLE);
  const TTabSide side = TabSideOf(style);
  FEnabled = !(style & WS_DISABLED);
  const RECT client{0, 0, Width(rect), Height(rect)};
  HDC buffer = PrepareBuffer(FBuffer, client);
  if (!buffer) return;
  FillFace(buffer, client);
  const TStripGeometry g(side, client, PaneRect(FHandle, client, side), 0);
  const int count = static_cast<int>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
  const int focus = static_cast<int>(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
  const bool unicode = IsWindowUnicode(FHandle) != FALSE;
  if (!g.Empty() && count > 0) {
    fw::TBitmap strip(g.W, g.H);
    HDC s = strip.Canvas().Handle();
    FillFace(s, {0, 0, g.W, g.H});
    fw::TSelectObject font(s, TabFont(FHandle, FControl));
    const int oldMode = SetBkMode(s, TRANSPARENT);
    for (int i = 0; i < count; ++i) {
      RECT r{};
      if (!SendMessageW(FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
      if (side == tsTop) OffsetRect(&r, 0, 1);
      RECT t = g.ToStrip(r);
      const RECT limit{0, 0, g.W, g.H};
      if (!IntersectRect(&t, &t, &limit)) continue;
      const int frame = i == focus ? 2 : 1;
      DrawSkinFrame(s, t, buttons.FrameCount, frame, &buttons);
      fw::TColor colour = 0;  // black unless the skin gives the state a colour
      if (frame == 1 && buttons.HasNormalColour2) colour = buttons.NormalColour2;
      if (frame == 2 && buttons.HasPressedColour2) colour = buttons.PressedColour2;
      SetTextColor(s, fw::ColorToRGB(colour));
      const TTabItem item = ReadItem(FHandle, unicode, i);
      DrawImageAndText(this, s, t, 1, item.Text, item.Image, images);
    }
    SetBkMode(s, oldMode);
    g.Turn(strip);
    BitBlt(buffer, g.Place.left, g.Place.top, Width(g.Place), Height(g.Place), strip.Canvas().Handle(), 0, 0,
           SRCCOPY);
  }
  PutPicture(dc, FBuffer, FHandle, FindArrows(FHandle));
  if (FControl) FControl->PaintControls(dc);
}

// ---------------------------------------------------------------------------
// TSkinTabSheet
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinTabSheet, TSkinControl)

TSkinTabSheet::TSkinTabSheet(fw::TComponent* owner) : TSkinControl(owner) {}

bool TSkinTabSheet::BeforeMessage(fw::TMessage& m) {
  const bool pass = TSkinControl::BeforeMessage(m);
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (FKind != 0) return pass;
      PaintNow(m);
      return false;
    case WM_ERASEBKGND: {
      if (FKind != 0 || !FSkinData) return pass;
      RECT r{};
      GetClientRect(FHandle, &r);
      FillRect(reinterpret_cast<HDC>(m.WParam), &r, FSkinData->FaceBrush());
      m.Result = 1;
      return false;
    }
    default:
      return pass;
  }
}

void TSkinTabSheet::DrawControl(HDC dc, const RECT& rect) {
  if (!dc) return;
  FillFace(dc, rect);
  if (FControl) FControl->PaintControls(dc);
}

// ---------------------------------------------------------------------------
// TSkinAdvPage
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinAdvPage, TSkinControl)

TSkinAdvPage::TSkinAdvPage(fw::TComponent* owner) : TSkinControl(owner) {}

void TSkinAdvPage::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  if (FInitialized) return;
  const int variant = FKind;  // the form's choice, which the base would overwrite
  TSkinControl::InitControl(form, skinData, canvas, recolor);
  FKind = variant;
  if (FInitialized) AssignImages(false);
}

void TSkinAdvPage::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == fw::TOperation::opRemove && component == FUpDown) FUpDown = nullptr;
}

void TSkinAdvPage::AssignImages(bool clear) {
  if (FKind != kAdvPageVariant || !FControl || FControl->IsDestroying()) return;
  TDataSkinBorder* tabs = FSkinData && !FSkinData->NoSkin() ? FSkinData->Tabs() : nullptr;
  if (!clear && (!tabs || tabs->Bitmap.Empty())) return;
  const struct {
    const char* Name;
    int Frame;
  } targets[] = {{"TabBackGround", tfNormal}, {"TabBackGroundActive", tfSelected}};
  for (const auto& target : targets) {
    auto* bitmap = dynamic_cast<fw::TBitmap*>(
        GetObjectPropByName(FControl, target.Name, fw::TBitmap::StaticClassInfo()));
    if (!bitmap) continue;
    if (clear) {
      bitmap->Assign(fw::TBitmap());
      continue;
    }
    std::unique_ptr<fw::TBitmap> image =
        BuildSkinImage({0, 0, 100, 21}, tabs->Bitmap, tabs->Margins, false, tabs->Tile != 0, tabs->FrameCount,
                       target.Frame);
    if (image) bitmap->Assign(*image);
  }
  FControl->Invalidate();
}

void TSkinAdvPage::RestoreControl() {
  AssignImages(true);
  TSkinControl::RestoreControl();
}

void TSkinAdvPage::SkinChanged() {
  AssignImages(false);
  TSkinControl::SkinChanged();
}

void TSkinAdvPage::DrawControl(HDC, const RECT&) {
  // The control draws its tabs itself; only its scroll arrows are the skin's.
  AttachArrows(*this, FUpDown, FControl ? static_cast<fw::TComponent*>(FControl) : Owner());
}

}  // namespace skin
