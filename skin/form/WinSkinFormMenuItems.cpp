// TWinSkinForm: menu items drawn from the skin — the "MenuItem" element over the popup's own
// background, the item's image or check mark, its text and shortcut in the skin's colours — for
// the framework's menus (through their items' events) and for menus that exist only as system
// menu handles (through the window's owner-draw messages).
#include <windows.h>

#include <algorithm>

#include "GdiHandles.h"
#include "ImgList.h"
#include "Menus.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"
#include "skin/manager/WinSkinMenu.h"

namespace skin {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Frames of the "MenuItem" image: 1 normal, 2 separator, 4 selected.
constexpr int kItemFrames = 5;

}  // namespace

// ---------------------------------------------------------------------------
// Measuring
// ---------------------------------------------------------------------------

// Width and height arrive as the item measured itself; the skin adds its margin and the room of
// the image box.
void TWinSkinForm::MeasureMainItem(fw::TObject* sender, fw::TCanvas&, int& width, int&) {
  auto* item = dynamic_cast<fw::TMenuItem*>(sender);
  if (!item || !FSkinData || FSkinData->NoSkin()) return;
  if (const TDataSkinObject* element = FSkinData->MenuItem()) width += element->Margins.Left;
  width += item->GetImageList() ? 10 : 35;
}

void TWinSkinForm::MeasurePopupItem(fw::TObject* sender, fw::TCanvas&, int& width, int&) {
  auto* item = dynamic_cast<fw::TMenuItem*>(sender);
  if (!item || !FSkinData || FSkinData->NoSkin()) return;
  if (const TDataSkinObject* element = FSkinData->MenuItem()) width += element->Margins.Left;
  width += item->GetImageList() ? 12 : 35;
}

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

TWinSkinForm::TItemLook TWinSkinForm::LookOf(fw::TMenuItem& item) {
  TItemLook look;
  look.Caption = item.Caption();
  look.Enabled = item.Enabled();
  look.Checked = item.Checked();
  look.Separator = item.IsSeparator();
  look.ImageIndex = item.ImageIndex();
  look.Images = item.GetImageList();
  return look;
}

// The image box, the text and the shortcut of an item, into r of dc.
void TWinSkinForm::DrawItemContent(HDC dc, const RECT& r, const TItemLook& item, bool selected) {
  if (item.Separator) return;
  const TSkinColours& colours = FSkinData->Colours();
  const TDataSkinObject* element = FSkinData->MenuItem();
  const bool rtl = FRightToLeft;
  const bool hasImage = item.Images && item.ImageIndex >= 0 && item.ImageIndex < item.Images->Count();
  int size = item.Images ? item.Images->Width() : 16;
  if (item.Checked) size = std::max(size, 16);
  const int margin = element ? element->Margins.Left : 0;
  RECT box{r.left + 1 + margin, r.top + 1, r.left + 1 + margin + size, r.top + 1 + size};
  if (rtl) box = {r.right - 1 - margin - size, r.top + 1, r.right - 1 - margin, r.top + 1 + size};

  if (hasImage) {
    const int listHeight = item.Images->Height();
    if (item.Checked) {
      const int dy = (Height(r) - 16) / 2;
      RECT b{box.left, r.top + dy, box.right, r.top + dy + 16};
      // The checked-item look: a pattern of button face and highlight in a sunken box.
      const WORD pattern[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
      fw::TBitmapHandle bits(CreateBitmap(8, 8, 1, 1, pattern));
      fw::TBrushHandle brush(CreatePatternBrush(bits.Get()));
      const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
      const COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      FillRect(dc, &b, brush);
      SetTextColor(dc, oldText);
      SetBkColor(dc, oldBack);
      DrawEdge(dc, &b, BDR_SUNKENOUTER, BF_RECT);
    }
    const int dy = (Height(r) - listHeight) / 2;
    item.Images->Draw(dc, box.left, r.top + dy, item.ImageIndex, item.Enabled);
  } else if (item.Checked) {
    // The system's check mark, colour-keyed, in the button-text colour.
    const int cw = GetSystemMetrics(SM_CXMENUCHECK), ch = GetSystemMetrics(SM_CYMENUCHECK);
    fw::TBitmap mark(cw, ch, fw::TPixelFormat::pf24bit);
    HDC m = mark.Canvas().Handle();
    const RECT all{0, 0, cw, ch};
    fw::TBrushHandle key(CreateSolidBrush(fw::ColorToRGB(clSkinKey)));
    FillRect(m, &all, key);
    RECT glyph = all;
    DrawFrameControl(m, &glyph, DFC_MENU, DFCS_MENUCHECK);  // black mark on white
    // White (the ground) becomes the key, black the button-text colour.
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    for (int y = 0; y < ch; ++y) {
      auto* p = static_cast<std::uint8_t*>(mark.ScanLine(y));
      for (int x = 0; x < cw; ++x, p += 3) {
        const bool dark = p[0] + p[1] + p[2] < 384;
        p[0] = dark ? GetBValue(text) : 0xFF;
        p[1] = dark ? GetGValue(text) : 0x00;
        p[2] = dark ? GetRValue(text) : 0xFF;
      }
    }
    const int x = box.left + (Width(box) - cw) / 2 + 1, y = r.top + (Height(r) - ch) / 2 + 1;
    TransparentBlit(dc, {x, y, x + cw, y + ch}, mark, clSkinKey);
  }

  // The caption, and the shortcut after a tab.
  std::wstring caption = item.Caption, shortcut;
  if (const std::size_t tab = caption.find(L'\t'); tab != std::wstring::npos) {
    shortcut = caption.substr(tab + 1);
    caption.resize(tab);
  }
  if (caption.empty() || caption == L"&") caption += L' ';
  RECT text{box.right + 3, r.top, r.right - 1, r.bottom};
  if (rtl) text = {r.left + 1, r.top, box.left - 3, r.bottom};
  fw::TSelectObject font(dc, MenuFont());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  fw::TColor colour = selected ? colours.HilightTextColour : colours.MenuTextColour;
  if (!item.Enabled)
    colour = colours.ButtonShadowColour == colours.MenuTextColour ? fw::TColor(0xFF000010) : colours.ButtonShadowColour;
  const COLORREF oldColour = SetTextColor(dc, fw::ColorToRGB(colour));
  const UINT align = rtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
  RECT measured = text;
  DrawTextWide(dc, caption, measured, align | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT);
  const int dy = (Height(r) - Height(measured)) / 2;
  RECT place{text.left, r.top + dy, text.right, r.top + dy + Height(measured)};
  DrawTextWide(dc, caption, place, align | DT_SINGLELINE | DT_EXPANDTABS);
  if (!shortcut.empty()) {
    RECT s = rtl ? RECT{r.left + 11, place.top, text.right - Width(measured), place.bottom}
                 : RECT{text.left + Width(measured), place.top, r.right - 11, place.bottom};
    DrawTextWide(dc, shortcut, s, (rtl ? DT_LEFT : DT_RIGHT) | DT_SINGLELINE);
  }
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

// An item into dest of dc: the background of the popup that shows menu (or the skin's menu
// colour), then the element's frame or the separator, then the content.
void TWinSkinForm::PaintItem(HDC dc, const RECT& dest, HMENU menu, const TItemLook& item, bool selected,
                             bool separatorFrame) {
  const int w = Width(dest), h = Height(dest);
  if (w <= 0 || h <= 0 || !FSkinData || FSkinData->NoSkin()) return;
  TDataSkinObject* element = FSkinData->MenuItem();
  fw::TBitmap work(w, h, fw::TPixelFormat::pf24bit);
  HDC b = work.Canvas().Handle();
  const RECT all{0, 0, w, h};
  if (!element) {
    // Plain: the skin's colours, an etched line for a separator.
    fw::TBrushHandle fill(CreateSolidBrush(
        fw::ColorToRGB(selected && !item.Separator ? FSkinData->Colours().HilightColour : FSkinData->Colours().MenuColour)));
    FillRect(b, &all, fill);
    if (item.Separator) {
      RECT line{0, 4, w, 6};
      DrawEdge(b, &line, EDGE_ETCHED, BF_TOP);
    }
    DrawItemContent(b, all, item, selected && !item.Separator);
    BitBlt(dc, dest.left, dest.top, w, h, b, 0, 0, SRCCOPY);
    return;
  }
  if (SkinManager && menu) SkinManager->TagPopup(menu);
  fw::TBitmap* background = SkinManager && menu ? SkinManager->PopupBitmapOf(menu) : nullptr;
  if (background && !background->Empty()) {
    const POINT origin = SkinManager->PopupClientOrigin(menu);
    BitBlt(b, 0, 0, w, h, background->Canvas().Handle(), dest.left + origin.x, dest.top + origin.y, SRCCOPY);
  } else {
    fw::TBrushHandle fill(CreateSolidBrush(fw::ColorToRGB(FSkinData->Colours().MenuColour)));
    FillRect(b, &all, fill);
  }
  if (item.Separator && separatorFrame) {
    // The bottom rows of frame 2, as many as the item is high, its ends kept.
    const int rows = std::min(h, element->Bitmap.Height());
    const int frameWidth = element->Bitmap.Width() / kItemFrames;
    fw::TBitmap slice(frameWidth, rows, fw::TPixelFormat::pf24bit);
    BitBlt(slice.Canvas().Handle(), 0, 0, frameWidth, rows, element->Bitmap.Canvas().Handle(), frameWidth,
           element->Bitmap.Height() - rows, SRCCOPY);
    const int top = h - rows;
    DrawTitleBack(b, {0, top, w, h}, slice, false, true, 1, 1,
                  {element->Margins.Left, 0, element->Margins.Right, 0});
  } else {
    DrawSkinImage(b, all, element->Bitmap, false, element->Tile == 1, element->Trans == 1, kItemFrames,
                  selected ? 4 : 1, element->Margins);
    DrawItemContent(b, all, item, selected);
  }
  BitBlt(dc, dest.left, dest.top, w, h, b, 0, 0, SRCCOPY);
}

void TWinSkinForm::DrawMenuItem(fw::TObject* sender, fw::TCanvas& canvas, const RECT& rect, bool selected) {
  auto* item = dynamic_cast<fw::TMenuItem*>(sender);
  if (!item || !FSkinData || FSkinData->NoSkin()) return;
  HMENU menu = item->Parent() ? item->Parent()->Handle() : nullptr;
  PaintItem(canvas.Handle(), rect, menu, LookOf(*item), selected, true);
}

// ---------------------------------------------------------------------------
// Owner-draw messages of menus that are only system menu handles
// ---------------------------------------------------------------------------

namespace {

// The text and state of the item with this command in menu or its submenus.
bool ReadHandleItem(HMENU menu, UINT id, std::wstring& text, UINT& state, int depth = 0) {
  if (!menu || depth > 8) return false;
  wchar_t buffer[81] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_STRING;
  info.dwTypeData = buffer;
  info.cch = 80;
  if (GetMenuItemInfoW(menu, id, FALSE, &info)) {
    text = WideFromBuffer(buffer, 80);
    state = info.fState;
    return true;
  }
  return false;
}

}  // namespace

// The item of the band's framework menu with this command, when it draws as the skin says (an
// item with drawing of its own keeps it: the framework's dispatch calls it).
fw::TMenuItem* TWinSkinForm::BandItem(UINT id) const {
  if (!FForm || !FMenuBar || !FMenuBar->FFrameworkMenu || id < 1 || id > 4095) return nullptr;
  fw::TMenuItem* item = FMenuBar->FFrameworkMenu->FindItem(id, fw::fkCommand);
  return item && !item->OnDrawItem ? item : nullptr;
}

bool TWinSkinForm::OnMeasureMenuItem(LPARAM lParam) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (!mis || mis->CtlType != ODT_MENU || !FSkinData || FSkinData->NoSkin()) return false;
  if (fw::TMenuItem* item = BandItem(mis->itemID)) {
    fw::TWindowDC dc(FHandle);
    fw::TCanvas canvas;
    canvas.SetHandle(dc);
    if (fw::Screen) canvas.Font().Assign(fw::Screen->MenuFont());
    int width = static_cast<int>(mis->itemWidth), height = static_cast<int>(mis->itemHeight);
    item->MeasureItem(canvas, width, height);
    MeasureMainItem(item, canvas, width, height);
    mis->itemWidth = static_cast<UINT>(std::max(width, 0));
    mis->itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
  }
  // The application's other items are its own.
  if (FForm && mis->itemID >= 1 && mis->itemID <= 4095) return false;
  std::wstring text;
  UINT state = 0;
  if (!ReadHandleItem(FTrackedMenu, mis->itemID, text, state)) return false;
  fw::TWindowDC dc(FHandle);
  fw::TSelectObject font(dc, MenuFont());
  RECT r{0, 0, 0, 0};
  DrawTextWide(dc, text.empty() ? L" " : text, r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
  const TDataSkinObject* element = FSkinData->MenuItem();
  mis->itemWidth = static_cast<UINT>(Width(r) + 26 + (element ? element->Margins.Left : 0));
  mis->itemHeight = text.empty() ? 8 : static_cast<UINT>(Height(r) + 4);
  return true;
}

bool TWinSkinForm::OnDrawMenuItem(LPARAM lParam) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (!dis || dis->CtlType != ODT_MENU || !FSkinData || FSkinData->NoSkin()) return false;
  const auto menu = reinterpret_cast<HMENU>(dis->hwndItem);
  if (SkinManager && menu) SkinManager->TagPopup(menu);
  if (fw::TMenuItem* item = BandItem(dis->itemID)) {
    fw::TSaveDC saved(dis->hDC);
    PaintItem(dis->hDC, dis->rcItem, menu, LookOf(*item), (dis->itemState & ODS_SELECTED) != 0, true);
    return true;
  }
  if (FForm && dis->itemID >= 1 && dis->itemID <= 4095) return false;
  std::wstring text;
  UINT state = 0;
  if (!ReadHandleItem(menu, dis->itemID, text, state)) return false;
  TItemLook look;
  look.Caption = text.empty() ? L"-" : text;
  look.Separator = text.empty();
  look.Enabled = !(state & (MFS_GRAYED | MFS_DISABLED));
  look.Checked = (state & MFS_CHECKED) != 0;
  // A separator of a system menu handle looks like the framework's: frame 2 of the element.
  PaintItem(dis->hDC, dis->rcItem, menu, look, (dis->itemState & ODS_SELECTED) != 0, true);
  return true;
}

// ---------------------------------------------------------------------------
// Drop-downs of the band drawn by the skin while they are open
// ---------------------------------------------------------------------------

// Every item of menu and its submenus gets the owner-draw type (its text stays); the ones changed
// are remembered, so that they get their own drawing back when the menu closes.
void TWinSkinForm::SetHandleItemsOwnerDraw(HMENU menu, std::vector<std::pair<HMENU, UINT>>& changed, int depth) {
  if (!menu || depth > 8) return;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (!(info.fType & MFT_OWNERDRAW)) {
      MENUITEMINFOW set{};
      set.cbSize = sizeof set;
      set.fMask = MIIM_FTYPE;
      set.fType = info.fType | MFT_OWNERDRAW;
      if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &set)) changed.emplace_back(menu, static_cast<UINT>(i));
    }
    if (info.hSubMenu) SetHandleItemsOwnerDraw(info.hSubMenu, changed, depth + 1);
  }
}

void TWinSkinForm::RestoreHandleItems(const std::vector<std::pair<HMENU, UINT>>& changed) {
  for (const auto& [menu, position] : changed) {
    if (!IsMenu(menu)) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) continue;
    info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
    SetMenuItemInfoW(menu, position, TRUE, &info);
  }
}

// ---------------------------------------------------------------------------
// The framework's popup menus of a skinned form
// ---------------------------------------------------------------------------

// Every popup menu of owner (and of the forms it owns) draws its items with the skin's painters,
// except one tagged to keep the system's drawing. Off takes away only the skin's own handlers:
// an item's drawing of its own stays.
void TWinSkinForm::SetPopupMenusOwnerDraw(fw::TComponent* owner, bool on) {
  if (!owner || !FSkinData || FClassName == L"TwwRichEditForm") return;
  const auto draw = fw::TMenuDrawItemEvent::Of<&TWinSkinForm::DrawMenuItem>(this);
  const auto measure = fw::TMenuMeasureItemEvent::Of<&TWinSkinForm::MeasurePopupItem>(this);
  const auto walk = [&](auto&& self, fw::TMenuItem* item) -> void {
    for (int i = 0; i < item->Count(); ++i) {
      fw::TMenuItem* child = item->Items(i);
      if (on) {
        child->OnDrawItem = draw;
        if (!child->OnMeasureItem) child->OnMeasureItem = measure;
      } else {
        if (child->OnDrawItem == draw) child->OnDrawItem = {};
        if (child->OnMeasureItem == measure) child->OnMeasureItem = {};
      }
      self(self, child);
    }
  };
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    fw::TComponent* c = owner->Components(i);
    if (auto* form = dynamic_cast<fw::TCustomForm*>(c)) {
      SetPopupMenusOwnerDraw(form, on);
      continue;
    }
    auto* menu = dynamic_cast<fw::TPopupMenu*>(c);
    if (!menu || menu->Tag == FSkinData->DisableTag) continue;
    walk(walk, menu->Items());
    menu->SetOwnerDraw(on);
  }
}

}  // namespace skin
