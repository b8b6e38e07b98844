// The skin element records and TSkinData, the component a form carries to be skinned: it
// stores one compressed skin, turns it into records and colours, and asks the skin manager to
// skin, unskin or refresh the application's windows.
//
// Classes in this file: TDataSkinObject, TDataSkinBorder, TDataSkinTitle, TDataSkinButton,
// TDataSkinSysButton, TDataSkinBoxLabel, TSkinRecords, TSkinData.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"
#include "ImgList.h"
#include "Lists.h"
#include "Streams.h"
#include "skin/data/SkinElements.h"

namespace skin {

class TSkinReader;

// ---------------------------------------------------------------------------
// Element records
// ---------------------------------------------------------------------------

// One skinned element: a bitmap of equal frames side by side (the Top and Bottom window
// borders stack them), nine-slice margins and flags. Painting code reads records, never writes.
class TDataSkinObject : public TElementFields {
public:
  explicit TDataSkinObject(std::string name) { Name = std::move(name); }
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;

  fw::TBitmap Bitmap;
};

// Window borders, elements with a second image, the progress bar.
class TDataSkinBorder : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  fw::TBitmap Bitmap2;
};

// The caption text area.
class TDataSkinTitle : public TDataSkinObject, public TTitleFields {
public:
  using TDataSkinObject::TDataSkinObject;
};

// Push buttons, check boxes and radio buttons.
class TDataSkinButton : public TDataSkinObject, public TButtonFields {
public:
  using TDataSkinObject::TDataSkinObject;
  fw::TBitmap CheckBitmap, RadioBitmap;
};

// Caption buttons and the three MDI child buttons.
class TDataSkinSysButton : public TDataSkinObject, public TSysButtonFields {
public:
  using TDataSkinObject::TDataSkinObject;
};

// The group box caption.
class TDataSkinBoxLabel : public TDataSkinObject, public TBoxLabelFields {
public:
  using TDataSkinObject::TDataSkinObject;
};

// Every record and colour of one loaded skin. A load builds a whole new set and takes its
// place only when it is complete.
struct TSkinRecords {
  TSkinRecords();
  std::string SkinName;
  TSkinColours Colours;
  TColor FrameColour = 0xFF00000F;
  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::array<std::unique_ptr<TDataSkinBorder>, 4> Borders;  // left, right, top, bottom
  std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;
  std::array<std::unique_ptr<TDataSkinObject>, kSlotCount> Slots;
  std::unique_ptr<TDataSkinObject> ComboxArrow;      // derived arrow strip
  std::unique_ptr<TDataSkinObject> ToolbarGradient;  // derived background, named "Toolbar"
};

// Builds the records of a layout from the archive's bitmaps and runs the derived steps (MDI
// split, resource fallbacks, combo composite and arrow, toolbar gradient, frame colour).
// Throws fw::EInvalidGraphic for a bitmap entry that is not a readable bitmap.
void BuildSkinRecords(const TSkinLayout& layout, const TSkinReader& archive, TSkinRecords& records);

// The program's bitmap resource of that name, or an empty bitmap when it has none.
void LoadResourceBitmap(fw::TBitmap& bitmap, const wchar_t* name);

// ---------------------------------------------------------------------------
// TSkinData
// ---------------------------------------------------------------------------

enum TSkinControlType {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
  xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab,
  xcTrackBar, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = std::uint32_t;  // bit n for TSkinControlType n

enum TSkinOption {
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
  xoMDIChildBorder, xoMenuBG, xoFormScrollbar
};
using TSkinOptions = std::uint32_t;

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

constexpr std::uint32_t SetOf(int member) { return 1u << member; }

class TSkinData;
using TOnFormSkin = fw::TMethod<void(fw::TObject* Sender, const std::wstring& aName, bool& DoSkin)>;
using TOnSkinForm = fw::TMethod<void(fw::TObject* Sender, HWND ahwnd, const std::wstring& aName)>;
using TOnSkinControl = fw::TMethod<void(fw::TComponent* Sender, TSkinData* SkinData, fw::TControl* Form,
                                        fw::TControl* Control, const std::wstring& ControlClass,
                                        fw::TComponent*& SkinnedControl)>;
// A close box on a tab was clicked: Sender is the form skin, Page the tab's page; clearing
// CanClose keeps the page.
using TOnTabClose = fw::TMethod<void(fw::TComponent* Sender, fw::TWinControl* TabControl, int TabIndex,
                                     fw::TControl* Page, bool& CanClose)>;

// The stored 124-entry list mapping other controls' class names to the skin object they get.
const std::vector<std::wstring>& DefaultSkin3rd();

class TSkinData : public fw::TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TSkinData(fw::TComponent* owner);
  ~TSkinData() override;

  void Loaded() override;
  // Turns SkinStream into records and colours. On any failure one message is shown, false is
  // returned and the skin loaded before (if any) stays whole and in charge.
  bool LoadSkin();
  // Makes the skin manager apply a skin loaded at run time.
  void ApplySkin();
  // Fires OnSkinChanged (called by the skin manager after a skin change was applied).
  void SkinChanged();
  // Asked by the skin manager before it skins a top-level window.
  void QueryFormSkin(HWND window, const std::wstring& className, bool& doSkin);

  // Published properties.
  bool Active() const { return FActive; }
  void SetActive(bool value);
  int DisableTag = 99;
  TSkinControlTypes SkinControls;
  TSkinOptions Options = SetOf(xoPreview) | SetOf(xoToolbarBK);
  fw::TStringList* Skin3rd() const { return FSkin3rd.get(); }
  void SetSkin3rd(const std::vector<std::wstring>& lines);
  const std::wstring& SkinFile() const { return FSkinFile; }
  void SetSkinFile(const std::wstring& name);
  std::wstring SkinStore() const;
  TSkinFormType SkinFormtype() const { return FSkinFormtype; }
  void SetSkinFormtype(TSkinFormType t) { FSkinFormtype = t; }
  static constexpr const wchar_t* kVersion = L"4.42.12.06";
  bool MenuUpdate = true;
  bool MenuMerge = false;
  TOnFormSkin OnFormSkin;
  fw::TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;
  TOnSkinForm OnBeforeSkinForm, OnAfterSkinForm;
  TOnTabClose OnTabClose;

  // The stored skin ("SkinStream" data block: signed 32-bit count, then the bytes).
  fw::TMemoryStream& SkinStream() { return FSkinStream; }
  void ReadSkinStream(const std::vector<std::uint8_t>& block);
  std::vector<std::uint8_t> WriteSkinStream();

  // State of the loaded skin.
  bool NoSkin() const { return FNoSkin; }
  const std::string& SkinName() const { return FRecords->SkinName; }
  const TSkinColours& Colours() const { return FRecords->Colours; }
  TColor FrameColour() const { return FRecords->FrameColour; }
  HBRUSH FaceBrush() const { return FFaceBrush.Get(); }
  HFONT CaptionFont() const { return FCaptionFont.Get(); }
  fw::TBitmap& AppIcon() { return FAppIcon; }
  fw::TImageList& MenuGlyphs() { return *FMenuGlyphs; }
  int MaxWidth() const { return FMaxWidth; }
  int MaxHeight() const { return FMaxHeight; }
  HWND QueryWindow() const { return FQueryWindow; }
  bool FramePaintEnabled = true;

  // Element slots. Permanent records are never null; the others may be. Pointers stay valid
  // until the next successful load.
  TDataSkinTitle* Title() const { return FRecords->Title.get(); }
  TDataSkinButton* Buttons() const { return FRecords->Buttons.get(); }
  // Window borders by side: 1 left, 2 right, 3 top, 4 bottom.
  TDataSkinBorder* Border(int side) const { return FRecords->Borders.at(static_cast<std::size_t>(side - 1)).get(); }
  TDataSkinBorder* BorderLeft() const { return Border(1); }
  TDataSkinBorder* BorderRight() const { return Border(2); }
  TDataSkinBorder* BorderTop() const { return Border(3); }
  TDataSkinBorder* BorderBottom() const { return Border(4); }
  const std::vector<std::unique_ptr<TDataSkinSysButton>>& CaptionButtons() const { return FRecords->CaptionButtons; }
  TDataSkinObject* Slot(TSlot slot) const { return FRecords->Slots[static_cast<std::size_t>(slot)].get(); }
  TDataSkinBorder* Tabs() const { return BorderSlot(TSlot::Tabs); }
  TDataSkinBorder* UpDownHorz() const { return BorderSlot(TSlot::UpDownHorz); }
  TDataSkinBorder* UpDownVert() const { return BorderSlot(TSlot::UpDownVert); }
  TDataSkinBorder* ComboButton() const { return BorderSlot(TSlot::ComboButton); }
  TDataSkinBorder* Progress() const { return BorderSlot(TSlot::Progress); }
  TDataSkinBoxLabel* GroupBox() const { return static_cast<TDataSkinBoxLabel*>(Slot(TSlot::GroupBox)); }
  TDataSkinObject* ComboxArrow() const { return FRecords->ComboxArrow.get(); }
  TDataSkinObject* ToolbarGradient() const { return FRecords->ToolbarGradient.get(); }
  TDataSkinObject* SunkEdge() const { return Slot(TSlot::SunkEdge); }
  TDataSkinObject* ExtraImages() const { return Slot(TSlot::ExtraImages); }
  TDataSkinObject* GroupBoxEdge() const { return Slot(TSlot::GroupBoxEdge); }
  TDataSkinObject* ToolBars() const { return Slot(TSlot::ToolBars); }
  TDataSkinObject* ProgressChunk() const { return Slot(TSlot::ProgressChunk); }
  TDataSkinObject* StatusBarEdges() const { return Slot(TSlot::StatusBarEdges); }
  TDataSkinObject* TabPane() const { return Slot(TSlot::TabPane); }
  TDataSkinObject* Headerbar() const { return Slot(TSlot::Headerbar); }
  TDataSkinObject* MenuBar() const { return Slot(TSlot::MenuBar); }
  TDataSkinObject* MenuItem() const { return Slot(TSlot::MenuItem); }
  TDataSkinObject* MenuBackground() const { return Slot(TSlot::MenuBackground); }
  TDataSkinObject* Scrollbar() const { return Slot(TSlot::Scrollbar); }
  TDataSkinObject* HorzScroll() const { return Slot(TSlot::HorzScroll); }
  TDataSkinObject* VertScroll() const { return Slot(TSlot::VertScroll); }
  TDataSkinObject* HorzScrollThumb() const { return Slot(TSlot::HorzScrollThumb); }
  TDataSkinObject* VertScrollThumb() const { return Slot(TSlot::VertScrollThumb); }
  TDataSkinObject* Track() const { return Slot(TSlot::Track); }
  TDataSkinObject* TrackVert() const { return Slot(TSlot::TrackVert); }
  TDataSkinObject* TrackbarThumbHorz() const { return Slot(TSlot::TrackbarThumbHorz); }
  TDataSkinObject* TrackbarThumbVert() const { return Slot(TSlot::TrackbarThumbVert); }
  TDataSkinObject* TrackbarThumbLeft() const { return Slot(TSlot::TrackbarThumbLeft); }
  TDataSkinObject* TrackbarThumbRight() const { return Slot(TSlot::TrackbarThumbRight); }
  TDataSkinObject* TrackbarThumbUp() const { return Slot(TSlot::TrackbarThumbUp); }
  TDataSkinObject* TrackbarThumbDown() const { return Slot(TSlot::TrackbarThumbDown); }

  // Colours of the skin by their description keys (system colours keep the top bit).
  TColor ButtonFaceColour() const { return Colours().ButtonFaceColour; }
  TColor ButtonTextColour() const { return Colours().ButtonTextColour; }

private:
  TDataSkinBorder* BorderSlot(TSlot slot) const { return static_cast<TDataSkinBorder*>(Slot(slot)); }
  void BuildAppIcon();
  void CreateCaptionFont();

  bool FActive = false;
  bool FNoSkin = true;
  TSkinFormType FSkinFormtype = sfMainform;
  std::wstring FSkinFile;
  std::unique_ptr<fw::TStringList> FSkin3rd;
  fw::TMemoryStream FSkinStream;
  std::unique_ptr<TSkinRecords> FRecords;
  fw::TBrushHandle FFaceBrush;
  fw::TFontHandle FCaptionFont;
  fw::TBitmap FAppIcon;
  std::unique_ptr<fw::TImageList> FMenuGlyphs;
  int FMaxWidth = 0, FMaxHeight = 0;
  HWND FQueryWindow = nullptr;
};

void RegisterSkinDataClasses();

}  // namespace skin
