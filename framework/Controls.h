// Visual controls of the framework.
//   TControl        - position, alignment, visibility, text, colour, events, replaceable WindowProc
//   TGraphicControl - a control without a window, painted and clicked through its parent
//   TWinControl     - a control with a window: handle creation, subclassing, focus, children,
//                     reflection of child notifications (CN_*), dialog keyboard navigation
//   TCustomControl  - a windowed control that paints itself
// plus FindControl / ControlFromWindow (window handle -> framework control).
//
// Writing a control for a system window class (BUTTON, EDIT, STATIC, msctls_progress32, ...):
// derive from TWinControl, override CreateParams to set WinClassName and the styles, and
// override WndProc to handle the reflected notifications (CN_COMMAND, CN_NOTIFY, CN_DRAWITEM,
// CN_CTLCOLOR*, CN_HSCROLL, ...), calling TWinControl::WndProc for everything else:
//
//   class TButton : public TWinControl {
//     void CreateParams(TCreateParams& p) override {
//       TWinControl::CreateParams(p); p.WinClassName = L"BUTTON"; p.Style |= BS_PUSHBUTTON; }
//     void WndProc(TMessage& m) override {
//       if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) { Click(); return; }
//       TWinControl::WndProc(m); }
//   };
//
// The window is created as a Unicode window and subclassed by a thunk before its first message
// (WM_NCCREATE), so WindowProc sees every message of the window; unhandled messages reach
// the class's own procedure through DefaultHandler. Classes without a WinClassName of their own
// get a window class registered under their ClassName() ("TFormSealbox").
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "Graphics.h"
#include "Messages.h"
#include "Thunk.h"

namespace fw {

class TWinControl;
class TCustomForm;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

// Shift state bits of mouse and key events.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64;
// Shift state from the keyboard (GetKeyState) and, for mouse messages, the MK_* flags.
TShiftState KeyboardShiftState();
TShiftState MouseShiftState(WPARAM mkFlags);

// Control style bits.
enum TControlStyleFlag : unsigned {
  csAcceptsControls = 1,
  csCaptureMouse = 2,
  csClickEvents = 4,   // a mouse click (down and up inside) raises Click
  csSetCaption = 8,
  csOpaque = 16,
  csDoubleClicks = 32,
};

using TMouseEvent = TMethod<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = TMethod<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = TMethod<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = TMethod<void(TObject* sender, wchar_t& key)>;
using TWndMethod = TMethod<void(TMessage&)>;

// Builds a published event property (TPropKind::Method) for an event field of class C.
template <class C, auto Field>
TPropInfo MethodProp(const char* name) {
  using M = std::remove_cvref_t<decltype(std::declval<C*>()->*Field)>;
  return {name, TPropKind::Method, [](TObject* o) -> TPropValue { return (As<C>(o)->*Field).Ref(); },
          [](TObject* o, const TPropValue& v) {
            As<C>(o)->*Field = std::holds_alternative<TMethodRef>(v) ? M(std::get<TMethodRef>(v)) : M();
          },
          {}};
}

// ---------------------------------------------------------------------------
// TControl
// ---------------------------------------------------------------------------
class TControl : public TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // -- attributes
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  // Stored forms: the enclosing windowed control becomes the parent window.
  void SetParentComponent(TComponent* parent) override;
  // Bounds relative to the parent's client area (screen coordinates for a top-level form).
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  // Client area size (the whole control for a graphic control).
  virtual int ClientWidth() const { return FWidth; }
  virtual int ClientHeight() const { return FHeight; }
  virtual void SetClientWidth(int v) { SetWidth(v); }
  virtual void SetClientHeight(int v) { SetHeight(v); }
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign a);
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to the top-level window visible too.
  virtual bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool v);
  TColor Color() const { return FColor; }
  void SetColor(TColor c);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  // The control's font (owned); a change reaches the window (WM_SETFONT) and the children
  // that use ParentFont.
  TFont* Font() const { return FFont.get(); }
  // Caption and Text are the same text (the window text for a windowed control).
  virtual std::wstring Text() const { return FText; }
  virtual void SetText(const std::wstring& s);
  std::wstring Caption() const { return Text(); }
  void SetCaption(const std::wstring& s) { SetText(s); }
  // Popup menu seam: a TPopupMenu once the menus unit exists.
  TComponent* PopupMenu = nullptr;
  unsigned ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  bool MouseInControl() const { return FMouseInControl; }

  // -- methods
  // Sends a message through WindowProc (not through the window) and returns its Result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual void Invalidate();
  virtual void Update();
  void Repaint() { Invalidate(); Update(); }
  void BringToFront();
  // The top-level form this control is on (nullptr when not on a form).
  TCustomForm* GetParentForm() const;

  // -- events and the replaceable window procedure
  // Runs before the control's own WndProc; by default points at WndProc. Replace it to see
  // every message first; call the saved value to pass a message on; assign the saved value
  // back to restore.
  TWndMethod WindowProc;
  TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // The control's own message handler; call the base for messages not handled.
  virtual void WndProc(TMessage& m);
  // Processing of a message nobody handled (the window's default procedure for windowed controls).
  virtual void DefaultHandler(TMessage& m);
  virtual void Click();
  // A mouse press at (x, y) in client coordinates, as the control's own message handling
  // reports it (raises OnMouseDown); public so that a press another object took from the
  // window can be handed on.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);

protected:
  virtual void DblClick();
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Resize();
  // Called after the bounds changed (fields already updated).
  virtual void BoundsChanged();
  // Colour/font inherited from the parent.
  virtual void ParentColorChanged();
  virtual void ParentFontChanged();
  // Is Alt+key an accelerator of this control's caption ("&File" -> F)?
  bool IsAccel(wchar_t key) const;
  // Raw bounds update without any window call (used when the window itself moved).
  void UpdateBoundsFields(int l, int t, int w, int h);
  void RequestAlign();
  void FontChanged(TObject* sender);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  bool FParentColor = true;
  bool FParentFont = true;
  bool FMouseInControl = false;
  bool FFollowingParentFont = false;
  bool FClicked = false;
  TColor FColor = clBtnFace;
  std::unique_ptr<TFont> FFont;
  std::wstring FText;

  friend class TWinControl;
};

// ---------------------------------------------------------------------------
// TGraphicControl: no window; the parent forwards WM_PAINT drawing (WParam = the parent's
// device context, origin moved to the control) and mouse messages (client coordinates of
// the control) to it.
// ---------------------------------------------------------------------------
class TGraphicControl : public TControl {
  FW_DECLARE_CLASS()
public:
  explicit TGraphicControl(TComponent* owner);
  void WndProc(TMessage& m) override;

  // Valid during Paint: a canvas on the parent's device context, origin at the control's
  // top-left, clipped to the control, with the control's font.
  TCanvas& Canvas() { return FCanvas; }

protected:
  virtual void Paint() {}
  HDC PaintDC() const { return FPaintDC; }

private:
  HDC FPaintDC = nullptr;
  TCanvas FCanvas;
};

// ---------------------------------------------------------------------------
// TWinControl
// ---------------------------------------------------------------------------
struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  HMENU Menu = nullptr;   // child id for child windows
  void* Param = nullptr;
  // System class name ("BUTTON") or, when empty, ClassName() registered as a framework class.
  std::wstring WinClassName;
  UINT ClassStyle = CS_DBLCLKS;
  HCURSOR Cursor = nullptr;  // framework classes only (default: arrow)
  HBRUSH Background = nullptr;
};

class TWinControl : public TControl {
  FW_DECLARE_CLASS()
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // -- window handle
  // The window handle, created on first use (with the parent's handle first).
  HWND Handle();
  HWND HandleIfAllocated() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  void DestroyHandle();
  // Destroys and creates the window again with the current properties (style changes). Goes
  // through WindowProc as CM_RECREATEWND, so that an object hooked into it sees the new window.
  void RecreateWnd();

  // -- children
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int i) const { return FControls.at(static_cast<size_t>(i)); }
  // Windowed children only, in tab order.
  std::vector<TWinControl*> TabList() const;
  // Every windowed descendant in tab order: each child followed by its own tab-order list.
  std::vector<TWinControl*> TabOrderList() const;
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  // The child (graphic or windowed, visible and enabled unless allowDisabled) at a client point.
  TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;
  // Paints the visible graphic children into dc, each with the origin moved to it and clipped
  // to it (WM_PAINT of this window; also for anyone drawing the window's face into a DC).
  void PaintControls(HDC dc);
  // Lays out the children with an Align other than alNone. While the control is being read from
  // a stored form this waits for Loaded, so the stored bounds and Align all count whatever their
  // order.
  void Realign();
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();

  // -- focus and tab order
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool v);
  int TabOrder() const;
  void SetTabOrder(int v);
  virtual bool CanFocus() const;
  virtual void SetFocus();
  bool Focused() const;
  // Moves the focus to the next (or previous) tab stop after current among this control's
  // descendants; returns whether it found one.
  bool SelectNext(TWinControl* current, bool forward, bool checkTabStop);

  // -- overrides
  void SetParent(TWinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  std::wstring Text() const override;
  void SetText(const std::wstring& s) override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;
  bool Showing() const override;
  void Invalidate() override;
  void Update() override;
  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;
  void Loaded() override;

  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter, OnExit;

protected:
  virtual void CreateParams(TCreateParams& params);
  // Creates the window (CreateParams -> CreateWindowExW) and attaches it to this object.
  virtual void CreateWnd();
  // Called after the handle exists and the children's handles are created.
  virtual void CreateHandleDone() {}
  virtual void DestroyWnd();
  // Key events: return true (or set key to 0) to consume the key.
  virtual bool DoKeyDown(WORD& key, TShiftState shift);
  virtual bool DoKeyUp(WORD& key, TShiftState shift);
  virtual bool DoKeyPress(wchar_t& key);
  // Lays out aligned children in rect (client coordinates).
  virtual void AlignControls(RECT& rect);
  // Default WM_PAINT of a framework class: background is erased by WM_ERASEBKGND, then
  // PaintWindow, then the graphic children.
  virtual void PaintWindow(HDC dc);
  bool IsFrameworkClass() const { return FFrameworkClass; }
  // The procedure the thunk replaced (the class's own procedure).
  WNDPROC DefWndProc() const { return FDefWndProc; }

private:
  friend class TControl;
  static LRESULT CALLBACK StdWndProc(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
  void AttachHandle(HWND wnd);
  void CreateChildHandles();
  bool ReflectNotification(TMessage& m);
  bool ForwardMouseToGraphic(TMessage& m);
  void SetMouseControl(TControl* c);
  void ApplyBoundsFromWindow();
  void DoRecreateWnd();

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  bool FFrameworkClass = false;
  bool FTabStop = false;
  bool FTrackingMouse = false;
  bool FRecreating = false;
  int FAlignLevel = 0;
  bool FAlignPending = false;
  int FMessageDepth = 0;
  std::vector<TControl*> FControls;    // all children, in z-order of insertion
  std::vector<TWinControl*> FTabList;  // windowed children in tab order
  TControl* FMouseControl = nullptr;   // graphic child under the mouse
  TControl* FCaptureControl = nullptr; // graphic child that got a button down
  TWndProcThunk FThunk;
};

// ---------------------------------------------------------------------------
// TCustomControl: a windowed control (framework class) that paints itself in Paint.
// ---------------------------------------------------------------------------
class TCustomControl : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomControl(TComponent* owner);
  // Valid during Paint: a canvas on the window's paint device context with the control's font.
  TCanvas& Canvas() { return FCanvas; }

protected:
  virtual void Paint() {}
  HDC PaintDC() const { return FPaintDC; }
  void PaintWindow(HDC dc) override;

private:
  HDC FPaintDC = nullptr;
  TCanvas FCanvas;
};

// Framework control of a window (nullptr when the window is not a framework window of this
// thread and module). Reads the "ControlOfs%.8X%.8X" window property.
TWinControl* FindControl(HWND wnd);
inline TWinControl* ControlFromWindow(HWND wnd) { return FindControl(wnd); }
// The name of that window property for this module and thread.
const std::wstring& ControlAtomString();
// Nearest framework control of wnd or of one of its parents.
TWinControl* FindWindowControl(HWND wnd);

}  // namespace fw
