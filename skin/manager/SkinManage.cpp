// The skin manager's registry of skin data components and its request state. Windows are not
// skinned yet: requests are recorded for the action timer.
#include "skin/manager/SkinManage.h"

#include <algorithm>
#include <memory>

#include "skin/data/WinSkinData.h"

namespace skin {

TSkinManage* SkinManager = nullptr;

namespace {
// Owns the manager until the process ends.
struct TManagerHolder {
  std::unique_ptr<TSkinManage> Manager;
  ~TManagerHolder() { SkinManager = nullptr; }
};
TManagerHolder& Holder() {
  static TManagerHolder holder;
  return holder;
}
}  // namespace

TSkinManage& EnsureSkinManager() {
  if (!SkinManager) {
    Holder().Manager = std::make_unique<TSkinManage>();
    SkinManager = Holder().Manager.get();
  }
  return *SkinManager;
}

TSkinManage::~TSkinManage() = default;

void TSkinManage::AddSkinData(TSkinData* data) {
  if (!data || std::find(FSkinDatas.begin(), FSkinDatas.end(), data) != FSkinDatas.end()) return;
  FSkinDatas.push_back(data);
  if (!FMainSkinData && data->SkinFormtype() == sfMainform) FMainSkinData = data;
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
  std::erase(FSkinDatas, data);
  if (FMainSkinData == data) {
    FMainSkinData = nullptr;
    for (TSkinData* d : FSkinDatas)
      if (d->SkinFormtype() == sfMainform) {
        FMainSkinData = d;
        break;
      }
  }
  if (FPendingSkinData == data) FPendingSkinData = nullptr;
}

void TSkinManage::InstallHook() { FHookInstalled = true; }

void TSkinManage::SkinWindow(HWND) {}

void TSkinManage::RequestAction(int kind, int delayMs) {
  if (FState == 0 && (kind == saSkin || kind == saUnskin)) {
    FEnabled = kind == saSkin;
    return;
  }
  FAction = kind;
  FActionDelay = delayMs;
}

void TSkinManage::RefreshSkinForms() {}

}  // namespace skin
