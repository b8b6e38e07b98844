// Forms and the application.
//   TCustomForm / TForm - top-level windows: border, position, show/modal/close protocol
//   TApplication        - the hidden application window, message loop, exception report
//   TScreen             - the forms of the process, the menu font
// Globals: fw::Application, fw::Screen (created on first use of Application / Screen).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "Controls.h"

namespace fw {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;
enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                       poMainFormCenter, poOwnerFormCenter };
using enum TPosition;
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
using enum TWindowState;
// Border icons (set bits).
using TBorderIcons = unsigned;
constexpr TBorderIcons biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8;

// Modal results.
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrClose = 8;

using TCloseEvent = TMethod<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = TMethod<void(TObject* sender, bool& canClose)>;
using TCanResizeEvent = TMethod<void(TObject* sender, int& newWidth, int& newHeight, bool& resize)>;

class TCustomForm : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Runs the creation handler (OnCreate) once; called by TApplication::CreateForm and by the
  // form reader after the stored form has been read. Safe to call more than once.
  virtual void AfterConstruction();

  // -- attributes
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons v);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition v) { FPosition = v; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState v);
  bool KeyPreview = false;
  // Menu seam: a TMainMenu once the menus unit exists.
  TComponent* Menu = nullptr;
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  bool Modal() const { return FModal; }
  bool Active() const { return FActive; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* c);

  // -- methods
  void Show();
  // Shows the form modally: other windows of the thread are disabled and a message loop
  // runs until ModalResult becomes non-zero (Close sets mrCancel). The form is hidden afterwards.
  TModalResult ShowModal();
  // Close protocol: CloseQuery (OnCloseQuery), then OnClose with caHide (caFree for the main
  // form, which ends the application); caNone keeps the form.
  void Close();
  virtual bool CloseQuery();
  // Frees the form after the messages in the queue have been handled (CM_RELEASE).
  void Release();
  void BringToFront();

  TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TCanResizeEvent OnCanResize;

  // Key events of the form's controls with KeyPreview (the form sees them first).
  bool PreviewKeyDown(WORD& key, TShiftState shift) { return KeyPreview && DoKeyDown(key, shift); }
  bool PreviewKeyUp(WORD& key, TShiftState shift) { return KeyPreview && DoKeyUp(key, shift); }
  bool PreviewKeyPress(wchar_t& key) { return KeyPreview && DoKeyPress(key); }

  void SetVisible(bool v) override;
  bool Showing() const override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  virtual bool CanResize(int& newWidth, int& newHeight);
  virtual void DoClose(TCloseAction& action);
  virtual void DoShow();
  virtual void DoHide();
  void PlaceByPosition();

private:
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TModalResult FModalResult = mrNone;
  int FClientWidth = 0, FClientHeight = 0;  // wanted before the handle exists (0: not set)
  bool FModal = false;
  bool FActive = false;
  bool FCreated = false;
  bool FPlaced = false;
  TWinControl* FActiveControl = nullptr;
};

class TForm : public TCustomForm {
  FW_DECLARE_CLASS()
public:
  using TCustomForm::TCustomForm;
};

class TApplication : public TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  void Initialize();
  // Creates a form owned by the application; the first one becomes MainForm.
  template <class T>
  T* CreateForm(T*& ref) {
    ref = new T(this);
    if (!FMainForm) FMainForm = ref;
    ref->AfterConstruction();
    return ref;
  }
  // Shows the main form and handles messages until the application terminates.
  void Run();
  // Handles the messages in the queue and returns.
  void ProcessMessages();
  // Handles one message, or waits for the next when the queue is empty.
  void HandleMessage();
  // Ends the message loop (posts WM_QUIT).
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Shows the default exception report of the exception being handled (call inside catch)
  // unless OnException is assigned. EAbort is silent.
  void HandleException(TObject* sender);
  void ShowException(const std::exception& e);

  HWND Handle() const { return FWindow ? FWindow->Handle() : nullptr; }
  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* f) { FMainForm = f; }
  const std::wstring& Title() const { return FTitle; }
  void SetTitle(const std::wstring& s);
  bool ShowMainForm = true;
  // Key message dispatch: keyboard navigation, accelerators, KeyPreview. Returns true when
  // the message was consumed.
  bool IsKeyMsg(MSG& msg);

  TMethod<void(TObject* sender, const std::exception& e)> OnException;
  TNotifyEvent OnIdle;

private:
  bool ProcessMessage(MSG& msg);
  void WndProc(TMessage& m);
  void Notification(TComponent* c, TOperation op) override;

  std::unique_ptr<TUtilWindow> FWindow;
  TCustomForm* FMainForm = nullptr;
  std::wstring FTitle;
  bool FTerminated = false;
  bool FHandleCreated = false;
};

class TScreen : public TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TScreen(TComponent* owner) : TComponent(owner) {}
  int FormCount() const { return static_cast<int>(FForms.size()); }
  // Forms, the most recently activated first (creation order among never-activated forms).
  TCustomForm* Forms(int i) const { return FForms.at(static_cast<size_t>(i)); }
  TCustomForm* ActiveForm() const { return FActiveForm; }
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  // The font of menus: the system's menu font (non-client metrics), read on first use and again
  // after the system's settings change; its colour is the menu text colour.
  TFont& MenuFont();
  TNotifyEvent OnActiveFormChange;
  // Raised with the form as Sender when a form's window is about to become visible: its handle
  // exists, its place is set, OnShow has run, and nothing of it is on the screen yet.
  TNotifyEvent OnFormShowing;

private:
  friend class TCustomForm;
  void AddForm(TCustomForm* f) { FForms.push_back(f); }
  void RemoveForm(TCustomForm* f);
  void FormActivated(TCustomForm* f);
  friend class TApplication;
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TFont FMenuFont;
  bool FMenuFontRead = false;
};

extern TApplication* Application;
extern TScreen* Screen;

// Registers the framework's form classes with the class registry (TForm).
void RegisterFormClasses();

}  // namespace fw
