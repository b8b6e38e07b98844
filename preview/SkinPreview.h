// The skin preview: TFormSkinView, a window with one of every control the skin engine draws and
// the commands to open a skin file, choose a built-in skin and switch skinning off and on;
// TFormSkinDialog, the modal dialog it opens.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "Forms.h"
#include "Menus.h"
#include "MediaPlayer.h"
#include "StdCtrls.h"

namespace skin {
class TSkinData;
}

namespace preview {

// The built-in skins, in the order of the "内置皮肤" submenu.
enum class TBuiltInSkin { Default, Slate };

// The packed bytes of a built-in skin, from the program's resources.
std::vector<std::uint8_t> BuiltInSkinBytes(TBuiltInSkin skin);

class TFormSkinDialog : public fw::TForm {
  FW_DECLARE_CLASS()
public:
  // Builds the dialog from its stored form "TFORMSKINDIALOG".
  explicit TFormSkinDialog(fw::TComponent* owner);
};

class TFormSkinView : public fw::TForm {
  FW_DECLARE_CLASS()
public:
  // Builds the window from its stored form "TFORMSKINVIEW".
  explicit TFormSkinView(fw::TComponent* owner);

  // -- stored components the commands use
  skin::TSkinData* SkinData1 = nullptr;
  fw::TMainMenu* MainMenu1 = nullptr;
  fw::TPopupMenu* PopupMenu1 = nullptr;
  fw::TMenuItem* MOpenSkin = nullptr;
  fw::TMenuItem* MBuiltInDefault = nullptr;
  fw::TMenuItem* MBuiltInSlate = nullptr;
  fw::TMenuItem* MSkinOff = nullptr;
  fw::TMenuItem* PSkinOff = nullptr;
  fw::TMenuItem* MDialog = nullptr;
  fw::TMenuItem* MMessage = nullptr;
  fw::TOpenDialog* OpenDialogSkin = nullptr;
  fw::TBitBtn* BitBtn1 = nullptr;
  fw::TListView* ListView1 = nullptr;
  fw::TStatusBar* StatusBar1 = nullptr;
  TMediaPlayer* MediaPlayer1 = nullptr;
  fw::TLabel* LabelMedia = nullptr;

  // -- handlers bound by name from the stored form
  void OpenSkinClick(fw::TObject* sender);
  void BuiltInClick(fw::TObject* sender);
  void SkinOffClick(fw::TObject* sender);
  void DialogClick(fw::TObject* sender);
  void MessageClick(fw::TObject* sender);
  void ExitClick(fw::TObject* sender);
  // A media-player button clicked: the label names it.
  void MediaClick(fw::TObject* sender, int button);

  // -- skins
  // Loads a packed skin file. A file that cannot be read is reported in a message box and a
  // damaged one by the skin reader; either way the skin in use stays. Returns whether it loaded.
  bool LoadSkinFile(const std::wstring& path);
  void UseBuiltInSkin(TBuiltInSkin skin);
  // Skinning on or off; "关闭皮肤" is checked while it is off.
  void SetSkinning(bool on);
  bool Skinning() const;
  // What the status bar says about the skin in use.
  const std::wstring& SkinDescription() const { return FSkinDescription; }

private:
  void ShowSkin(const std::wstring& description);
  void DrawGlyph();
  void FillListView();
  std::wstring FSkinDescription;
};

// Registers the preview's form and component classes with the form reader (idempotent).
void RegisterPreviewClasses();

}  // namespace preview
