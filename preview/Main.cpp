// skinview [SKINFILE]: the skin preview window; SKINFILE, a packed skin, is loaded at start (when
// it cannot be read the preview says so and shows the built-in skin).
#include <windows.h>

#include <shellapi.h>

#include "Forms.h"
#include "SkinPreview.h"

namespace {
preview::TFormSkinView* FormSkinView = nullptr;

std::wstring SkinFileArgument() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring file = argv && argc > 1 ? argv[1] : L"";
  LocalFree(argv);
  return file;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    fw::Application->Initialize();
    fw::Application->SetTitle(L"皮肤预览");
    preview::RegisterPreviewClasses();
    fw::Application->CreateForm(FormSkinView);
    if (const std::wstring file = SkinFileArgument(); !file.empty()) FormSkinView->LoadSkinFile(file);
    fw::Application->Run();
  } catch (const std::exception& e) {
    fw::Application->ShowException(e);
    return 1;
  }
  return 0;
}
