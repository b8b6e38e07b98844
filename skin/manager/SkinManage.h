// TSkinManage: the one skin manager of the process. It lists the skin data components, hooks
// the creation and activation of this thread's windows (CBT hook), accepts top-level windows
// and gives each its TWinSkinForm, and carries out skin requests (skin the windows, remove the
// skins, refresh after a skin change) from its one-shot action timer.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "Timers.h"

namespace skin {

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;

// Kinds of request of RequestAction.
enum TSkinAction : int { saNone = 0, saSkin = 1, saUnskin = 2, saRefresh = 3 };

// Manager states (FState).
enum TManagerState : int { msWaiting = 0, msRunning = 1, msShuttingDown = 4 };

class TSkinManage {
public:
  TSkinManage();
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // Lists a component; the first sfMainform component becomes FMainSkinData.
  void AddSkinData(TSkinData* data);
  // Forgets a component, and takes off the skins of the windows that use it.
  void RemoveSkinData(TSkinData* data);
  // Offers this thread's windows to the manager as they are created and activated (once).
  void InstallHook();
  void RemoveHook();
  // Accepts a window and gives it its form skin at once; false when a test refuses it.
  bool SkinWindow(HWND window);
  // Asks for an action after delayMs. While FState is 0, skin and unskin requests only switch
  // FEnabled; otherwise the last request before the timer fires decides the action.
  void RequestAction(int kind, int delayMs);
  // Every form skin that uses FPendingSkinData drops what it built from the old skin.
  void RefreshSkinForms();

  // Called by the form skins.
  void RemoveForm(TWinSkinForm* form);
  TWinSkinForm* FindSkinForm(HWND window) const;
  void SetMDIMaximized(bool value);
  const std::vector<TWinSkinForm*>& Forms() const { return FForms; }

  // Popup menus. The hook gives every popup menu window ("#32768", not a child) its skin when
  // the kind of menu (FMenuMode) is one the skin data skins, and frees it when the window is
  // destroyed; once no popup is skinned, FMenuMode and FMenuBarPopup go back to 0 and False.
  // Both answer false, as nobody needs an answer.
  bool SkinPopupMenu(HWND window);
  bool UnskinPopupMenu(HWND window);
  bool HasPopupSkin(HWND window) const;
  // Every open popup skin was opened from a skinned menu bar.
  void MarkMenuBarPopups();
  // The newest popup skin not yet tied to a menu shows this menu.
  void TagPopup(HMENU menu);
  // The background image of the popup that shows this menu, or null.
  fw::TBitmap* PopupBitmapOf(HMENU menu) const;
  // Where that popup's client origin lies in its background image (item rectangles are client
  // coordinates); (0, 0) when no popup shows the menu.
  POINT PopupClientOrigin(HMENU menu) const;
  const std::vector<std::unique_ptr<TWinSkinPopMenu>>& Popups() const { return FPopups; }

  bool FEnabled = false;
  int FState = msWaiting;
  int FMenuMode = 0;
  bool FMenuBarPopup = false;
  bool FMDIMaximized = false;
  bool FHideWhileSkinning = false;
  HWND FMDIClient = nullptr;
  fw::TCustomForm* FMDIFrame = nullptr;
  int FPendingAction = saNone;
  TSkinData* FPendingSkinData = nullptr;
  TSkinData* FMainSkinData = nullptr;
  std::uintptr_t FManagerTag = 0;
  std::vector<TSkinData*> FSkinDatas;

  // The action timer (tests read its state).
  const fw::TTimer& Timer() const { return *FTimer; }
  bool HookInstalled() const { return FHook != nullptr; }

private:
  static LRESULT CALLBACK CBTHook(int code, WPARAM wParam, LPARAM lParam);
  void OnCreateWindow(HWND window, const CBT_CREATEWNDW& create);
  void FormShowing(fw::TObject* sender);
  fw::TNotifyEvent FPreviousFormShowing;
  void RunAction(fw::TObject*);
  bool SkinVisibleForm(fw::TCustomForm* form);
  TSkinData* ChooseSkinData(HWND window) const;
  bool CanSkin(HWND window, const std::wstring& className) const;
  bool IsPlainChild(HWND window) const;
  fw::TCustomForm* FindFrameworkForm(HWND window) const;
  void PurgeForms();
  void FreeAllForms();
  void TakeOff(TWinSkinForm* form);

  std::unique_ptr<fw::TTimer> FTimer;
  HHOOK FHook = nullptr;
  bool FScanning = false;
  std::vector<TWinSkinForm*> FForms;
  std::vector<std::unique_ptr<TWinSkinPopMenu>> FPopups;
  TWinSkinPopMenu* FindPopup(HMENU menu) const;
  void FreePopups(TSkinData* data);
};

// The manager of the process, or null before the first skin data component has loaded.
extern TSkinManage* SkinManager;
// Creates the manager when there is none; it is freed when the process ends.
TSkinManage& EnsureSkinManager();
// Frees the manager (at the end of the process; tests call it to start afresh).
void FreeSkinManager();

}  // namespace skin
