// TFormSkinView: the stored form, the glyph and rows made in code, the skin commands (open a
// file, a built-in skin, off and on), the modal dialog and the message box.
#include "SkinPreview.h"

#include <algorithm>

#include "FormReader.h"
#include "ImgList.h"
#include "MsgBox.h"
#include "Streams.h"
#include "skin/data/WinSkinData.h"

// <windows.h> maps RegisterClass to RegisterClassW; this unit means the framework's registry.
#undef RegisterClass

namespace preview {

using namespace fw;

namespace {

const wchar_t kTitle[] = L"皮肤预览";

// A packed skin as the skin data's stored block: its byte count, then the bytes.
std::vector<std::uint8_t> StoredBlock(const std::vector<std::uint8_t>& bytes) {
  const auto n = static_cast<std::uint32_t>(bytes.size());
  std::vector<std::uint8_t> block(bytes.size() + 4);
  for (int i = 0; i < 4; ++i) block[static_cast<size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
  std::copy(bytes.begin(), bytes.end(), block.begin() + 4);
  return block;
}

}  // namespace

std::vector<std::uint8_t> BuiltInSkinBytes(TBuiltInSkin skin) {
  const wchar_t* name = skin == TBuiltInSkin::Slate ? L"SKIN_SLATE" : L"SKIN_DEFAULT";
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL data = res ? LoadResource(module, res) : nullptr;
  const auto* bytes = data ? static_cast<const std::uint8_t*>(LockResource(data)) : nullptr;
  if (!bytes) return {};
  return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(module, res));
}

// ---------------------------------------------------------------------------
// TFormSkinDialog
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TFormSkinDialog, TForm)

TFormSkinDialog::TFormSkinDialog(TComponent* owner) : TForm(owner) { ReadFormResource(this, L"TFORMSKINDIALOG"); }

// ---------------------------------------------------------------------------
// TFormSkinView
// ---------------------------------------------------------------------------

const TClassInfo& TFormSkinView::StaticClassInfo() {
  static const TClassInfo info{"TFormSkinView",
                               &TForm::StaticClassInfo(),
                               {},
                               {},
                               {FW_PUBLISHED_METHOD(TFormSkinView, OpenSkinClick),
                                FW_PUBLISHED_METHOD(TFormSkinView, BuiltInClick),
                                FW_PUBLISHED_METHOD(TFormSkinView, SkinOffClick),
                                FW_PUBLISHED_METHOD(TFormSkinView, DialogClick),
                                FW_PUBLISHED_METHOD(TFormSkinView, MessageClick),
                                FW_PUBLISHED_METHOD(TFormSkinView, ExitClick),
                                FW_PUBLISHED_METHOD(TFormSkinView, MediaClick)}};
  return info;
}

void RegisterPreviewClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterFormClasses();
  RegisterStdControls();
  RegisterComCtrls();
  RegisterButtons();
  RegisterMenus();
  RegisterDialogs();
  RegisterImageLists();
  skin::RegisterSkinDataClasses();
  RegisterClass(&TMediaPlayer::StaticClassInfo());
}

TFormSkinView::TFormSkinView(TComponent* owner) : TForm(owner) {
  RegisterPreviewClasses();
  ReadFormResource(this, L"TFORMSKINVIEW");
  SkinData1 = FindStored<skin::TSkinData>(this, L"SkinData1");
  MainMenu1 = FindStored<TMainMenu>(this, L"MainMenu1");
  PopupMenu1 = FindStored<TPopupMenu>(this, L"PopupMenu1");
  MOpenSkin = FindStored<TMenuItem>(this, L"MOpenSkin");
  MBuiltInDefault = FindStored<TMenuItem>(this, L"MBuiltInDefault");
  MBuiltInSlate = FindStored<TMenuItem>(this, L"MBuiltInSlate");
  MSkinOff = FindStored<TMenuItem>(this, L"MSkinOff");
  PSkinOff = FindStored<TMenuItem>(this, L"PSkinOff");
  MDialog = FindStored<TMenuItem>(this, L"MDialog");
  MMessage = FindStored<TMenuItem>(this, L"MMessage");
  OpenDialogSkin = FindStored<TOpenDialog>(this, L"OpenDialogSkin");
  BitBtn1 = FindStored<TBitBtn>(this, L"BitBtn1");
  ListView1 = FindStored<TListView>(this, L"ListView1");
  StatusBar1 = FindStored<TStatusBar>(this, L"StatusBar1");
  MediaPlayer1 = FindStored<TMediaPlayer>(this, L"MediaPlayer1");
  LabelMedia = FindStored<TLabel>(this, L"LabelMedia");
  PopupMenu1->BindControl(this);
  DrawGlyph();
  FillListView();
  SetCaption(kTitle);
  ShowSkin(SkinData1->NoSkin() ? L"没有皮肤" : L"内置皮肤：默认");
  SetSkinning(SkinData1->Active());
}

// A 16 x 16 glyph drawn here: a green check mark on magenta (the transparent colour), and its
// grey disabled twin beside it.
void TFormSkinView::DrawGlyph() {
  TBitmap* g = BitBtn1->Glyph();
  g->SetSize(32, 16);
  TCanvas& c = g->Canvas();
  c.Brush().SetColor(clFuchsia);
  c.FillRect({0, 0, 32, 16});
  const TColor colours[2] = {static_cast<TColor>(RGB(0, 140, 60)), clGray};
  for (int frame = 0; frame < 2; ++frame) {
    c.Pen().SetColor(colours[frame]);
    c.Pen().SetWidth(3);
    const int x = frame * 16;
    c.Polyline({{x + 2, 8}, {x + 6, 12}, {x + 13, 3}});
  }
  BitBtn1->SetNumGlyphs(2);
}

void TFormSkinView::FillListView() {
  ListView1->AddItem(L"报告.doc", {L"已加密"});
  ListView1->AddItem(L"照片.jpg", {L"等待中"});
  ListView1->AddItem(L"账目.xls", {L"已解密"});
  ListView1->SetItemIndex(0);
}

void TFormSkinView::ShowSkin(const std::wstring& description) {
  FSkinDescription = description;
  StatusBar1->Panels()->Items(0)->SetText(description);
}

bool TFormSkinView::LoadSkinFile(const std::wstring& path) {
  // Read it first: a file that cannot be read is the user's to hear about, in plain words.
  TMemoryStream probe;
  bool readable = FileExists(path);
  if (readable) {
    try {
      probe.LoadFromFile(path);
    } catch (const Exception&) {
      readable = false;
    }
  }
  if (!readable || probe.Size() == 0) {
    ShowMessageBox(HandleAllocated() ? HandleIfAllocated() : nullptr,
                   L"无法读取皮肤文件：\n" + path + L"\n\n将继续使用当前的皮肤。", kTitle, MB_OK | MB_ICONWARNING);
    return false;
  }
  const std::vector<std::uint8_t> current = SkinData1->WriteSkinStream();
  SkinData1->SetSkinFile(path);  // a damaged file: the skin reader says why
  if (SkinData1->NoSkin()) {
    SkinData1->ReadSkinStream(current);
    return false;
  }
  MBuiltInDefault->SetChecked(false);
  MBuiltInSlate->SetChecked(false);
  ShowSkin(L"皮肤文件：" + ExtractFileName(path));
  return true;
}

void TFormSkinView::UseBuiltInSkin(TBuiltInSkin which) {
  const std::vector<std::uint8_t> bytes = BuiltInSkinBytes(which);
  if (bytes.empty()) return;
  SkinData1->ReadSkinStream(StoredBlock(bytes));
  if (SkinData1->Active()) SkinData1->ApplySkin();
  MBuiltInDefault->SetChecked(which == TBuiltInSkin::Default);
  MBuiltInSlate->SetChecked(which == TBuiltInSkin::Slate);
  ShowSkin(which == TBuiltInSkin::Slate ? L"内置皮肤：石板" : L"内置皮肤：默认");
}

void TFormSkinView::SetSkinning(bool on) {
  SkinData1->SetActive(on);
  MSkinOff->SetChecked(!on);
  PSkinOff->SetChecked(!on);
}

bool TFormSkinView::Skinning() const { return SkinData1->Active(); }

void TFormSkinView::OpenSkinClick(TObject*) {
  if (OpenDialogSkin->Execute()) LoadSkinFile(OpenDialogSkin->FileName);
}

void TFormSkinView::BuiltInClick(TObject* sender) {
  UseBuiltInSkin(sender == MBuiltInSlate ? TBuiltInSkin::Slate : TBuiltInSkin::Default);
}

void TFormSkinView::SkinOffClick(TObject*) { SetSkinning(!Skinning()); }

void TFormSkinView::DialogClick(TObject*) {
  TFormSkinDialog dialog(nullptr);
  dialog.ShowModal();
}

void TFormSkinView::MessageClick(TObject*) {
  ShowMessageBox(HandleIfAllocated(), L"这是一个消息框。\n皮肤引擎也为它画出窗框。", kTitle,
                 MB_OK | MB_ICONINFORMATION);
}

void TFormSkinView::ExitClick(TObject*) { Close(); }

void TFormSkinView::MediaClick(TObject*, int button) {
  static const wchar_t* const names[btCount] = {L"播放", L"暂停", L"停止", L"下一个", L"上一个",
                                                L"单步前进", L"单步后退", L"录制", L"弹出"};
  if (button >= 0 && button < btCount) LabelMedia->SetCaption(std::wstring(L"媒体按钮：") + names[button]);
}

}  // namespace preview
