// TSkinManage: the one skin manager of the process. It lists the skin data components, hooks
// the creation and activation of this thread's windows and carries out skin requests (skin the
// windows, remove the skins, refresh after a skin change) from its one-shot action timer.
//
// This header is the narrow seam the skin data component uses.
#pragma once
#include <windows.h>

#include <vector>

namespace skin {

class TSkinData;

// Kinds of request of RequestAction.
enum TSkinAction : int { saNone = 0, saSkin = 1, saUnskin = 2, saRefresh = 3 };

class TSkinManage {
public:
  TSkinManage() = default;
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // Lists a component; the first sfMainform component becomes FMainSkinData.
  void AddSkinData(TSkinData* data);
  // Forgets a component (also as the main or pending one).
  void RemoveSkinData(TSkinData* data);
  // Offers this thread's windows to the manager as they are created and activated.
  void InstallHook();
  // Gives one window its skinned form at once.
  void SkinWindow(HWND window);
  // Asks for an action after delayMs. While FState is 0, skin and unskin requests only switch
  // FEnabled; otherwise the last request before the timer fires decides the action.
  void RequestAction(int kind, int delayMs);
  // Every skinned form that uses FPendingSkinData drops what it built from the old skin.
  void RefreshSkinForms();

  bool FEnabled = false;
  int FState = 0;
  TSkinData* FPendingSkinData = nullptr;
  TSkinData* FMainSkinData = nullptr;
  std::vector<TSkinData*> FSkinDatas;

  // The request waiting for the action timer.
  int FAction = saNone;
  int FActionDelay = 0;
  bool FHookInstalled = false;
};

// The manager of the process, or null before the first skin data component has loaded.
extern TSkinManage* SkinManager;
// Creates the manager when there is none; it is freed when the process ends.
TSkinManage& EnsureSkinManager();

}  // namespace skin
