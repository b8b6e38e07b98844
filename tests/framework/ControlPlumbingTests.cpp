// Entry points other objects use on controls: a forwarded mouse press, painting a container's
// graphic children into a DC, the recursive tab-order list, the speed button's paint into a
// given DC, the destroying state during destruction and window re-creation through WindowProc.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <vector>

#include "Buttons.h"
#include "ComCtrls.h"
#include "FormReader.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "StdCtrls.h"

using namespace fw;

namespace {

void Pump() { Application->ProcessMessages(); }

// A graphic control that fills itself with one colour.
class TSwatch : public TGraphicControl {
public:
  TSwatch(TComponent* owner, TColor c) : TGraphicControl(owner), FColour(c) {}

protected:
  void Paint() override {
    Canvas().Brush().SetColor(FColour);
    Canvas().FillRect({0, 0, Width(), Height()});
  }

private:
  TColor FColour;
};

// A 32-bit memory surface, white at the start.
struct TSurface {
  HDC DC = CreateCompatibleDC(nullptr);
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Old = nullptr;
  TSurface(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    Bitmap = CreateDIBSection(DC, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    Old = SelectObject(DC, Bitmap);
    RECT r{0, 0, w, h};
    FillRect(DC, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~TSurface() {
    SelectObject(DC, Old);
    DeleteObject(Bitmap);
    DeleteDC(DC);
  }
  COLORREF At(int x, int y) const { return GetPixel(DC, x, y); }
};

struct TMouseRecord {
  std::vector<std::tuple<TMouseButton, TShiftState, int, int>> Downs;
  void Down(TObject*, TMouseButton b, TShiftState s, int x, int y) { Downs.emplace_back(b, s, x, y); }
};

}  // namespace

TEST(ControlPlumbing, MouseDownCanBeHandedToAControl) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  TMouseRecord rec;
  panel->OnMouseDown = TMouseEvent::Of<&TMouseRecord::Down>(&rec);
  TControl* asControl = panel;
  asControl->MouseDown(mbLeft, ssShift | ssLeft, 7, -9);
  ASSERT_EQ(rec.Downs.size(), 1u);
  EXPECT_EQ(rec.Downs[0], std::make_tuple(mbLeft, ssShift | ssLeft, 7, -9));
  // A control's own press handling runs: the speed button goes down.
  auto* sb = new TSpeedButton(&form);
  sb->SetParent(&form);
  static_cast<TControl*>(sb)->MouseDown(mbLeft, ssLeft, 2, 2);
  EXPECT_TRUE(sb->Pressed());
  sb->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_FALSE(sb->Pressed());
}

TEST(ControlPlumbing, PaintControlsDrawsTheVisibleGraphicChildrenAtTheirPlaces) {
  TPanel panel(nullptr);
  panel.SetBounds(0, 0, 100, 60);
  auto* red = new TSwatch(&panel, clRed);
  red->SetBounds(10, 20, 30, 15);
  red->SetParent(&panel);
  auto* hidden = new TSwatch(&panel, clBlue);
  hidden->SetBounds(60, 5, 20, 20);
  hidden->SetParent(&panel);
  hidden->SetVisible(false);
  TSurface s(100, 60);
  panel.PaintControls(s.DC);
  EXPECT_EQ(s.At(10, 20), RGB(255, 0, 0));
  EXPECT_EQ(s.At(39, 34), RGB(255, 0, 0));
  EXPECT_EQ(s.At(9, 25), RGB(255, 255, 255));
  EXPECT_EQ(s.At(40, 25), RGB(255, 255, 255));  // clipped to the child
  EXPECT_EQ(s.At(25, 35), RGB(255, 255, 255));
  EXPECT_EQ(s.At(65, 10), RGB(255, 255, 255));  // hidden: not painted
  // The DC is left as it was given (origin and clipping restored).
  POINT org{};
  GetViewportOrgEx(s.DC, &org);
  EXPECT_EQ(org.x, 0);
  EXPECT_EQ(org.y, 0);
}

TEST(ControlPlumbing, TabOrderListDescendsIntoContainers) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* edit1 = new TEdit(&form);
  edit1->SetParent(panel);
  auto* box = new TGroupBox(&form);
  box->SetParent(panel);
  auto* edit2 = new TEdit(&form);
  edit2->SetParent(box);
  auto* bar = new TStatusBar(&form);
  bar->SetParent(&form);
  auto* progress = new TProgressBar(&form);
  progress->SetParent(bar);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  auto* label = new TLabel(&form);  // no window: not in any tab list
  label->SetParent(panel);
  box->SetTabOrder(0);  // the group box before edit1 inside the panel
  const std::vector<TWinControl*> expected{panel, box, edit2, edit1, bar, progress, button};
  EXPECT_EQ(form.TabOrderList(), expected);
  EXPECT_EQ(form.TabList(), (std::vector<TWinControl*>{panel, bar, button}));
  EXPECT_EQ(bar->TabOrderList(), std::vector<TWinControl*>{progress});
  EXPECT_TRUE(edit2->TabOrderList().empty());
}

namespace {
// A speed button whose paint fails after drawing.
class TFailingSpeedButton : public TSpeedButton {
public:
  using TSpeedButton::TSpeedButton;
  bool Fail = false;

protected:
  void Paint() override {
    TSpeedButton::Paint();
    if (Fail) throw std::runtime_error("paint failed");
  }
};
}  // namespace

TEST(ControlPlumbing, SpeedButtonPaintsIntoTheDCOfWmPaintAndLetsTheCanvasGo) {
  TForm form(nullptr);
  auto* sb = new TFailingSpeedButton(&form);
  sb->SetParent(&form);
  sb->SetBounds(0, 0, 30, 20);
  TSurface s(40, 30);
  EXPECT_EQ(sb->Perform(WM_PAINT, reinterpret_cast<WPARAM>(s.DC), 0), 0);
  EXPECT_EQ(s.At(10, 10), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(s.At(35, 25), RGB(255, 255, 255));  // nothing outside the button
  EXPECT_FALSE(sb->Canvas().HandleAllocated());
  // A paint that raises still lets go of the DC.
  sb->Fail = true;
  EXPECT_THROW(sb->Perform(WM_PAINT, reinterpret_cast<WPARAM>(s.DC), 0), std::runtime_error);
  EXPECT_FALSE(sb->Canvas().HandleAllocated());
  // The canvas can be lent a DC from outside and given back.
  sb->Canvas().SetHandle(s.DC);
  EXPECT_TRUE(sb->Canvas().HandleAllocated());
  sb->Canvas().SetHandle(nullptr);
}

namespace {
// Records, as each window is destroyed, whether its control (and its parent) are destroying.
struct TDestroyWatch {
  TWinControl* Control = nullptr;
  TWndMethod Previous;
  std::vector<bool>* Seen = nullptr;
  void Attach(TWinControl* c, std::vector<bool>* seen) {
    Control = c;
    Seen = seen;
    Previous = c->WindowProc;
    c->WindowProc = TWndMethod::Of<&TDestroyWatch::Proc>(this);
  }
  void Proc(TMessage& m) {
    if (m.Msg == WM_DESTROY) {
      Seen->push_back(Control->IsDestroying());
      if (Control->Parent()) Seen->push_back(Control->Parent()->IsDestroying());
    }
    Previous(m);
  }
};
}  // namespace

TEST(ControlPlumbing, DestroyingIsSetBeforeTheWindowAndTheChildrenGo) {
  TForm form(nullptr);
  form.Show();
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* edit = new TEdit(&form);
  edit->SetParent(panel);
  auto* bar = new TStatusBar(&form);
  bar->SetParent(&form);
  ASSERT_NE(edit->Handle(), nullptr);
  ASSERT_NE(bar->Handle(), nullptr);
  std::vector<bool> panelSeen, editSeen, barSeen;
  TDestroyWatch wp, we, wb;
  wp.Attach(panel, &panelSeen);
  we.Attach(edit, &editSeen);
  wb.Attach(bar, &barSeen);
  delete panel;  // the edit goes with it
  EXPECT_EQ(panelSeen, (std::vector<bool>{true, false}));  // the form itself stays
  EXPECT_EQ(editSeen, (std::vector<bool>{true, true}));    // and its parent is going
  delete bar;
  EXPECT_EQ(barSeen, (std::vector<bool>{true, false}));
  EXPECT_FALSE(form.IsDestroying());
}

namespace {
struct TRecreateWatch {
  TWndMethod Previous;
  int Seen = 0;
  bool Swallow = false;
  HWND HandleBefore = nullptr;
  TWinControl* Control = nullptr;
  void Proc(TMessage& m) {
    if (m.Msg == CM_RECREATEWND) {
      ++Seen;
      HandleBefore = Control->HandleIfAllocated();
      if (Swallow) return;
    }
    Previous(m);
  }
};
}  // namespace

TEST(ControlPlumbing, RecreateWndGoesThroughWindowProc) {
  TForm form(nullptr);
  auto* memo = new TMemo(&form);
  memo->SetParent(&form);
  memo->SetText(L"保留的文字");
  HWND first = memo->Handle();
  TRecreateWatch w;
  w.Control = memo;
  w.Previous = memo->WindowProc;
  memo->WindowProc = TWndMethod::Of<&TRecreateWatch::Proc>(&w);
  memo->RecreateWnd();
  EXPECT_EQ(w.Seen, 1);
  EXPECT_EQ(w.HandleBefore, first);  // seen before the old window went
  EXPECT_FALSE(IsWindow(first));
  HWND second = memo->HandleIfAllocated();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(FindControl(second), memo);
  EXPECT_EQ(memo->Text(), L"保留的文字");
  // A hook that keeps the message keeps the window.
  w.Swallow = true;
  memo->RecreateWnd();
  EXPECT_EQ(w.Seen, 2);
  EXPECT_EQ(memo->HandleIfAllocated(), second);
  memo->WindowProc = w.Previous;
  // Without a window there is nothing to re-create and no message.
  TMemo loose(nullptr);
  loose.RecreateWnd();
  EXPECT_FALSE(loose.HandleAllocated());
  Pump();
}

namespace {
const char* kAligned = R"(object AlignForm: TForm
  Left = 10
  Top = 10
  ClientWidth = 400
  ClientHeight = 300
  object Header1: THeaderControl
    Left = 20
    Top = 30
    Width = 150
    Height = 20
    Align = alNone
  end
  object Bottom1: TPanel
    Left = 5
    Top = 5
    Width = 50
    Height = 40
    Align = alBottom
    object Inner1: TPanel
      Height = 10
      Align = alTop
    end
  end
end
)";
}  // namespace

TEST(ControlPlumbing, StoredAlignmentCountsWhateverTheOrderOfTheProperties) {
  RegisterStdControls();
  RegisterComCtrls();
  TForm form(nullptr);
  ReadComponentTree(&form, ParseFormText(kAligned));
  // A control aligned by default and stored unaligned keeps its stored bounds.
  auto* header = FindStored<THeaderControl>(&form, L"Header1");
  EXPECT_EQ(header->Align(), alNone);
  EXPECT_EQ(header->BoundsRect().left, 20);
  EXPECT_EQ(header->BoundsRect().top, 30);
  EXPECT_EQ(header->Width(), 150);
  // Aligned after its bounds were read: along the bottom with its stored height, its own child
  // along its top.
  auto* bottom = FindStored<TPanel>(&form, L"Bottom1");
  EXPECT_EQ(bottom->Height(), 40);
  EXPECT_EQ(bottom->Left(), 0);
  EXPECT_EQ(bottom->Width(), form.ClientWidth());
  EXPECT_EQ(bottom->Top(), form.ClientHeight() - 40);
  // With the windows made, the inner panel lies along the top inside the bottom one's bevel.
  form.HandleNeeded();
  auto* inner = FindStored<TPanel>(&form, L"Inner1");
  EXPECT_EQ(inner->Top(), 1);
  EXPECT_EQ(inner->Width(), bottom->ClientWidth() - 2);
  EXPECT_EQ(inner->Height(), 10);
  EXPECT_EQ(header->BoundsRect().top, 30);
  // Once read, alignment follows changes at once again.
  form.SetClientHeight(200);
  EXPECT_EQ(bottom->Top(), form.ClientHeight() - 40);
}
