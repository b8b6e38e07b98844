// The media-player bar and the skin object that lays it over a player.
#include "skin/controls/SkinMedia.h"

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include <windowsx.h>

#include "GdiHandles.h"
#include "TypInfo.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace skin {

namespace {

// The set members naming the buttons, in button order.
const wchar_t* const kMemberNames[mpButtonCount] = {L"btplay", L"btpause", L"btstop",   L"btnext", L"btprev",
                                                    L"btstep", L"btback",  L"btrecord", L"bteject"};
const wchar_t* const kResourceNames[mpButtonCount] = {L"MPPLAY", L"MPPAUSE", L"MPSTOP",   L"MPNEXT", L"MPPREV",
                                                      L"MPSTEP", L"MPBACK",  L"MPRECORD", L"MPEJECT"};
const wchar_t* const kVariantPrefixes[3] = {L"EN", L"DI", L"CL"};
// The button bitmaps' transparent colour: olive.
constexpr fw::TColor kBitmapKey = 0x008080;

// The lower-case identifiers of a set read as text ("[btPlay,btStop]").
std::vector<std::wstring> Members(const std::wstring& text) {
  std::vector<std::wstring> out;
  std::wstring word;
  for (wchar_t c : text + L" ") {
    if (std::iswalnum(c) || c == L'_') {
      word += static_cast<wchar_t>(std::towlower(c));
    } else if (!word.empty()) {
      out.push_back(word);
      word.clear();
    }
  }
  return out;
}

// Fills a polygon (outline included) in colour.
void Shape(HDC dc, const std::vector<POINT>& points) { Polygon(dc, points.data(), static_cast<int>(points.size())); }
void TriangleRight(HDC dc, int x, int y, int w, int h) { Shape(dc, {{x, y}, {x, y + h}, {x + w, y + h / 2}}); }
void TriangleLeft(HDC dc, int x, int y, int w, int h) { Shape(dc, {{x + w, y}, {x + w, y + h}, {x, y + h / 2}}); }
void Bar(HDC dc, int x, int y, int w, int h) { Shape(dc, {{x, y}, {x + w - 1, y}, {x + w - 1, y + h}, {x, y + h}}); }

}  // namespace

// ---------------------------------------------------------------------------
// TWMediaPlayer
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TWMediaPlayer, fw::TCustomPanel)

TWMediaPlayer::TWMediaPlayer(fw::TComponent* owner) : fw::TCustomPanel(owner) {
  SetTabStop(false);
  SetVisible(false);
  for (int i = 0; i < mpButtonCount; ++i)
    for (int v = 0; v < 3; ++v) {
      const std::wstring name = std::wstring(kVariantPrefixes[v]) + L"_" + kResourceNames[i];
      LoadResourceBitmap(FButtons[static_cast<std::size_t>(i)].Bitmaps[static_cast<std::size_t>(v)], name.c_str());
    }
}

void TWMediaPlayer::Bind(TSkinMP* skin, fw::TWinControl* player) {
  FSkin = skin;
  FPlayer = player;
  if (!player) return;
  FreeNotification(player);
  if (skin && skin->FSkinData) Tag = skin->FSkinData->DisableTag;
  SetParent(player->Parent());
  HandleNeeded();
  SetVisible(player->Visible());
  FollowPlayer();
}

void TWMediaPlayer::Unbind() {
  if (FPlayer) RemoveFreeNotification(FPlayer);
  FPlayer = nullptr;
  FSkin = nullptr;
  FPressed = false;
  FPressedButton = FButtonUnderMouse = -1;
  if (!IsDestroying()) SetVisible(false);
}

void TWMediaPlayer::Notification(fw::TComponent* component, fw::TOperation operation) {
  // The player is gone first: no press goes to it any more.
  if (operation == fw::TOperation::opRemove && component == FPlayer) Unbind();
  fw::TCustomPanel::Notification(component, operation);
}

void TWMediaPlayer::FollowPlayer() {
  if (!FPlayer || !FPlayer->HandleAllocated()) return;
  HWND player = FPlayer->HandleIfAllocated();
  RECT r{};
  GetWindowRect(player, &r);
  MapWindowPoints(nullptr, GetParent(player), reinterpret_cast<POINT*>(&r), 2);
  SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  if (!HandleAllocated()) return;
  // Directly above the player, whose own painting (clipped by its siblings) stays under the bar.
  HWND before = GetWindow(player, GW_HWNDPREV);
  if (before != HandleIfAllocated())
    SetWindowPos(HandleIfAllocated(), before ? before : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TWMediaPlayer::ReadButtons() {
  const std::vector<std::wstring> visible = Members(fw::GetPropText(FPlayer, "VisibleButtons"));
  const std::vector<std::wstring> enabled = Members(fw::GetPropText(FPlayer, "EnabledButtons"));
  const std::vector<std::wstring> coloured = Members(fw::GetPropText(FPlayer, "ColoredButtons"));
  const auto in = [](const std::vector<std::wstring>& set, const wchar_t* name) {
    return std::find(set.begin(), set.end(), name) != set.end();
  };
  for (int i = 0; i < mpButtonCount; ++i) {
    TButtonState& b = FButtons[static_cast<std::size_t>(i)];
    b.Visible = in(visible, kMemberNames[i]);
    b.Enabled = in(enabled, kMemberNames[i]);
    b.Coloured = in(coloured, kMemberNames[i]);
  }
}

int TWMediaPlayer::ButtonAt(int x) {
  ReadButtons();
  const int n = static_cast<int>(std::count_if(FButtons.begin(), FButtons.end(), [](const TButtonState& b) { return b.Visible; }));
  const int w = n > 0 ? ClientWidth() / n : 0;
  if (w <= 0 || x < 0) return -1;
  int slot = x / w;
  for (int i = 0; i < mpButtonCount; ++i) {
    if (!FButtons[static_cast<std::size_t>(i)].Visible) continue;
    if (slot-- == 0) return i;
  }
  return -1;  // the strip right of the last button
}

COLORREF TWMediaPlayer::SymbolColour(int button) {
  switch (button) {
    case mpPlay: return RGB(0, 150, 40);
    case mpPause: return RGB(210, 160, 0);
    case mpStop:
    case mpRecord: return RGB(205, 30, 30);
    case mpEject: return RGB(110, 60, 170);
    default: return RGB(20, 90, 200);  // next, previous, step, back
  }
}

void TWMediaPlayer::DrawSymbol(HDC dc, const RECT& rect, int button, COLORREF colour) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const int s = std::clamp(std::min(w, h) / 2, 5, 16);
  if (w < s || h < s) return;
  const int l = rect.left + (w - s) / 2, t = rect.top + (h - s) / 2;
  fw::TBrushHandle brush(CreateSolidBrush(colour));
  fw::TPenHandle pen(CreatePen(PS_SOLID, 1, colour));
  fw::TSelectObject selectBrush(dc, brush.Get());
  fw::TSelectObject selectPen(dc, pen.Get());
  const int third = std::max(s / 3, 2), half = s / 2;
  switch (button) {
    case mpPlay: TriangleRight(dc, l + s / 6, t, s * 2 / 3, s); break;
    case mpPause:
      Bar(dc, l + s / 6, t, third, s + 1);
      Bar(dc, l + s - s / 6 - third, t, third, s + 1);
      break;
    case mpStop: Bar(dc, l + 1, t + 1, s - 1, s - 1); break;
    case mpNext:  // ▶|
      TriangleRight(dc, l, t, s * 2 / 3, s);
      Bar(dc, l + s * 2 / 3 + 1, t, std::max(s / 5, 2), s + 1);
      break;
    case mpPrev:  // |◀
      Bar(dc, l, t, std::max(s / 5, 2), s + 1);
      TriangleLeft(dc, l + s / 3 - 1, t, s * 2 / 3, s);
      break;
    case mpStep:  // ▶▶
      TriangleRight(dc, l, t, half, s);
      TriangleRight(dc, l + half, t, half, s);
      break;
    case mpBack:  // ◀◀
      TriangleLeft(dc, l, t, half, s);
      TriangleLeft(dc, l + half, t, half, s);
      break;
    case mpRecord: Ellipse(dc, l, t, l + s + 1, t + s + 1); break;
    case mpEject:  // ⏏
      Shape(dc, {{l, t + s * 3 / 5}, {l + s, t + s * 3 / 5}, {l + half, t}});
      Bar(dc, l, t + s * 4 / 5, s + 1, std::max(s / 5, 2));
      break;
    default: break;
  }
}

void TWMediaPlayer::Paint() {
  const int w = ClientWidth(), h = ClientHeight();
  if (w <= 0 || h <= 0) return;
  TSkinData* data = FSkin ? FSkin->FSkinData : nullptr;
  const bool skinned = data && !data->NoSkin();
  ReadButtons();
  if (FBuffer.Width() != w || FBuffer.Height() != h) FBuffer.SetSize(w, h);
  HDC dc = FBuffer.Canvas().Handle();
  {
    const RECT all{0, 0, w, h};
    fw::TBrushHandle face(CreateSolidBrush(fw::ColorToRGB(skinned ? data->ButtonFaceColour() : fw::clBtnFace)));
    FillRect(dc, &all, face.Get());
  }
  const int n = static_cast<int>(std::count_if(FButtons.begin(), FButtons.end(), [](const TButtonState& b) { return b.Visible; }));
  FButtonWidth = n > 0 ? w / n : 0;
  TDataSkinButton* e = skinned ? data->Buttons() : nullptr;
  const COLORREF text = fw::ColorToRGB(skinned ? data->ButtonTextColour() : fw::clBtnText);
  const COLORREF shadow = fw::ColorToRGB(skinned ? data->Colours().ButtonShadowColour : fw::clBtnShadow);
  const COLORREF light = fw::ColorToRGB(skinned ? data->Colours().ButtonlightColour : fw::clBtnHighlight);
  int x = 0;
  for (int i = 0; i < mpButtonCount && FButtonWidth > 0; ++i) {
    TButtonState& b = FButtons[static_cast<std::size_t>(i)];
    if (!b.Visible) continue;
    RECT r{x, 0, x + FButtonWidth, h};
    x += FButtonWidth;
    // Pressed while the mouse stays on it, as a push button; a disabled one never.
    const bool down = FPressed && FPressedButton == i && FButtonUnderMouse == i && b.Enabled;
    const int frame = down ? 2 : !b.Enabled ? 3 : 1;
    if (e && !e->Bitmap.Empty())
      DrawSkinFrame(dc, r, e->FrameCount, frame, e);
    else
      DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT g = r;
    if (down) OffsetRect(&g, 1, 1);
    const int variant = !b.Enabled ? bvDisabled : b.Coloured ? bvColoured : bvEnabled;
    fw::TBitmap& bitmap = b.Bitmaps[static_cast<std::size_t>(variant)];
    if (!bitmap.Empty()) {
      const RECT at{g.left + (FButtonWidth - bitmap.Width()) / 2, g.top + (h - bitmap.Height()) / 2, g.right, g.bottom};
      TransparentBlit(dc, at, bitmap, kBitmapKey);
    } else if (variant == bvDisabled) {
      // Engraved, as disabled glyphs are: the light copy one pixel down and right.
      RECT lit = g;
      OffsetRect(&lit, 1, 1);
      DrawSymbol(dc, lit, i, light);
      DrawSymbol(dc, g, i, shadow);
    } else {
      DrawSymbol(dc, g, i, variant == bvColoured ? SymbolColour(i) : text);
    }
  }
  BitBlt(Canvas().Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
}

void TWMediaPlayer::Press(const fw::TMessage& m) {
  FPressedButton = ButtonAt(GET_X_LPARAM(m.LParam));
  FButtonUnderMouse = FPressedButton;
  const std::shared_ptr<bool> alive = FAlive;
  // The player starts its action as if pressed itself.
  if (FPlayer && FPlayer->HandleAllocated())
    SendMessageW(FPlayer->HandleIfAllocated(), WM_LBUTTONDOWN, MK_LBUTTON, m.LParam);
  if (!*alive || !HandleAllocated()) return;
  // The player's capture goes: the release comes back to the bar wherever it happens.
  ReleaseCapture();
  SetCapture(HandleIfAllocated());
  FPressed = true;
  Invalidate();
}

void TWMediaPlayer::Release(const fw::TMessage& m, bool pressed, int button) {
  FPressed = false;
  FPressedButton = -1;
  if (HandleAllocated() && GetCapture() == HandleIfAllocated()) ReleaseCapture();
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const RECT client{0, 0, ClientWidth(), ClientHeight()};
  const int under = PtInRect(&client, p) ? ButtonAt(p.x) : -1;
  Invalidate();
  // Released on the button pressed: the player's click. The player may free this bar in it.
  if (pressed && under >= 0 && under == button && FPlayer && FPlayer->HandleAllocated())
    SendMessageW(FPlayer->HandleIfAllocated(), WM_LBUTTONUP, m.WParam, m.LParam);
}

void TWMediaPlayer::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_SKIN_QUERY:  // the bar is never dispatched as a control of its own
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const std::shared_ptr<bool> alive = FAlive;
      fw::TCustomPanel::WndProc(m);
      if (*alive) Press(m);
      return;
    }
    case WM_LBUTTONUP: {
      // The press as it was: the framework's own handling gives up the capture first.
      const bool pressed = FPressed;
      const int button = FPressedButton;
      const std::shared_ptr<bool> alive = FAlive;
      fw::TCustomPanel::WndProc(m);
      if (*alive) Release(m, pressed, button);
      return;
    }
    case WM_MOUSEMOVE: {
      fw::TCustomPanel::WndProc(m);
      const int under = ButtonAt(GET_X_LPARAM(m.LParam));
      if (under != FButtonUnderMouse) {
        FButtonUnderMouse = under;
        if (FPressed) Invalidate();
      }
      return;
    }
    case WM_CAPTURECHANGED:
      fw::TCustomPanel::WndProc(m);
      // Someone else took the mouse: the press ends without a click.
      if (FPressed && reinterpret_cast<HWND>(m.LParam) != HandleIfAllocated()) {
        FPressed = false;
        FPressedButton = -1;
        Invalidate();
      }
      return;
    default:
      fw::TCustomPanel::WndProc(m);
      return;
  }
}

// ---------------------------------------------------------------------------
// TSkinMP
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinMP, TSkinControl)

TSkinMP::TSkinMP(fw::TComponent* owner) : TSkinControl(owner) {}

TSkinMP::~TSkinMP() {
  TWMediaPlayer* player = FPlayer;
  FPlayer = nullptr;
  delete player;
}

void TSkinMP::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  if (FInitialized) return;
  TSkinControl::InitControl(form, skinData, canvas, recolor);
  if (!FInitialized || !FControl) return;
  FPlayer = new TWMediaPlayer(this);
  FPlayer->Bind(this, FControl);
}

void TSkinMP::Notification(fw::TComponent* component, fw::TOperation operation) {
  // The bar went with its parent window, before this object.
  if (operation == fw::TOperation::opRemove && component == FPlayer) FPlayer = nullptr;
  TSkinControl::Notification(component, operation);
}

void TSkinMP::RestoreControl() {
  TSkinControl::RestoreControl();
  if (FStatus == scWindowGone) return;
  TWMediaPlayer* player = FPlayer;
  FPlayer = nullptr;
  delete player;  // the player is seen again where the bar lay
}

bool TSkinMP::BeforeMessage(fw::TMessage& m) {
  if (m.Msg == WM_NCDESTROY && FPlayer) FPlayer->Unbind();
  return TSkinControl::BeforeMessage(m);
}

void TSkinMP::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
      if (FPlayer) FPlayer->FollowPlayer();
      break;
    case fw::CM_VISIBLECHANGED:
      if (FPlayer && FPlayer->Player()) {
        FPlayer->SetVisible(m.WParam != 0);
        if (m.WParam) FPlayer->FollowPlayer();
      }
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinMP::DrawControl(HDC, const RECT&) {
  if (FPlayer) FPlayer->Invalidate();
}

}  // namespace skin
