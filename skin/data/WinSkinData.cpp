// TSkinData: published properties, the stored skin, loading a skin into a new record set,
// the application icon and caption font, and the requests to the skin manager.
#include "skin/data/WinSkinData.h"

#include <algorithm>
#include <cstring>

#include "Forms.h"
#include "MsgBox.h"
#include "PropTables.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SysEntries.h"
#include "skin/manager/SkinManage.h"

namespace skin {

using fw::TPropKind;
using fw::TPropValue;

namespace {

const std::vector<std::string> kControlTypeNames = {
    "xcMainMenu", "xcPopupMenu", "xcMenuItem",  "xcToolbar",     "xcControlbar", "xcCombo",     "xcCheckBox", "xcRadioButton",
    "xcProgress", "xcScrollbar", "xcEdit",      "xcButton",      "xcBitBtn",     "xcSpeedButton", "xcSpin",   "xcPanel",
    "xcGroupBox", "xcStatusBar", "xcTab",       "xcTrackBar",    "xcSystemMenu", "xcFastReport"};
const std::vector<std::string> kOptionNames = {"xoMDIScrollbar", "xoMenuMerge",       "xoTransparent", "xoPreview",
                                               "xoParentBackGround", "xoNoFocusRect", "xoToolbarBK",   "xoMDIChildBorder",
                                               "xoMenuBG",       "xoFormScrollbar"};
const std::vector<std::string> kFormTypeNames = {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"};

constexpr TSkinControlTypes kAllControlTypes = (1u << (xcFastReport + 1)) - 1;
constexpr TSkinControlTypes kDefaultControlTypes = kAllControlTypes & ~SetOf(xcMenuItem) & ~SetOf(xcFastReport);

// A method-reference event published for stored forms.
template <class E, E TSkinData::*Member>
fw::TPropInfo EventProp(const char* name) {
  return {name, TPropKind::Method, [](fw::TObject* o) -> TPropValue { return (fw::As<TSkinData>(o)->*Member).Ref(); },
          [](fw::TObject* o, const TPropValue& v) {
            const auto* ref = std::get_if<fw::TMethodRef>(&v);
            fw::As<TSkinData>(o)->*Member = ref ? E(*ref) : E();
          },
          {}};
}

// The skin reader's messages reach the user in a message box; system colours are the system's.
void RouteSkinMessages() {
  static bool done = false;
  if (done) return;
  done = true;
  SetSkinMessageHandler([](const std::string& text) {
    const std::wstring caption = fw::Application ? fw::Application->Title() : std::wstring();
    fw::ShowMessageBox(nullptr, fw::Utf8ToWide(text), caption, MB_OK | MB_ICONWARNING);
  });
  SetSysColorResolver([](int index) { return static_cast<TColor>(GetSysColor(index)); });
}

}  // namespace

const std::vector<std::wstring>& DefaultSkin3rd() {
  // Grouped by the skin object each class gets; a class listed twice with different letter
  // case and kind gets the first (the group-box kind of TLMDGroupBox stands before "Panel").
  static const std::vector<std::wstring> list = [] {
    const std::vector<std::pair<const wchar_t*, std::vector<const wchar_t*>>> groups = {
        {L"scrollbar",
         {L"TCategoryButtons", L"TVirtualStringTree", L"TVirtualDrawTree", L"TAdvPanelGroup", L"THTMLViewer",
          L"TDBCtrlGrid", L"TImageEnMView", L"TImageEnView", L"TAdvMemo", L"TDBAdvMemo"}},
        {L"pngbitbtn", {L"TPngBitBtn"}},
        {L"Groupbox", {L"TLMDGroupBox"}},
        {L"Panel",
         {L"TTBXDockablePanel", L"TControlBar", L"TTBDock", L"TTBToolbar", L"TLMDGROUPBOX", L"TLMDSIMPLEPANEL",
          L"TLMDDBCalendar", L"TLMDButtonPanel", L"TLMDLMDCalculator", L"TLMDHeaderPanel", L"TLMDTechnicalLine",
          L"TLMDLMDClock", L"trmtoolbarsize"}},
        {L"panel",
         {L"TRzGroup", L"TLMDCalculator", L"TLMDTrackbar", L"trmtoolbar", L"trmtoolbaredit", L"trmtoolbarborder",
          L"trmtoolbaralign", L"trmtoolbarstandard", L"trmtoolbaraddintools"}},
        {L"combobox",
         {L"TComboboxex", L"TcxDBLookupComboBox", L"TcxDBComboBox", L"TcxDBDateEdit", L"TcxDBImageComboBox",
          L"TcxDBCalcEdit", L"TcxDBBlobEdit", L"TcxDBPopupEdit", L"TcxDBFontNameComboBox", L"TcxDBShellComboBox",
          L"TRxLookupEdit", L"TRxDBLookupCombo", L"TRzDateTimeEdit", L"TRzColorEdit", L"TRzDateTimePicker",
          L"TRzDBDateTimeEdit", L"TRzDbColorEdit", L"TRzDBDateTimePicker", L"TLMDListCombobox",
          L"TLMDCheckListCombobox", L"TLMDHeaderListCombobox", L"TLMDImageCombobox", L"TLMDColorCombobox",
          L"TLMDFontCombobox", L"TLMDFontSizeCombobox", L"TLMDFontSizeCombobox", L"TLMDPrinterCombobox",
          L"TLMDDriveCombobox", L"TLMDCalculatorComboBox", L"TLMDTrackBarComboBox", L"TLMDCalendarComboBox",
          L"TLMDTreeComboBox", L"TWWTempKeyCombo"}},
        {L"Combobox",
         {L"TDBLookupCombobox", L"TWWDBCombobox", L"TWWDBCombobox", L"TWWDBLookupCombo", L"TWWKeyCombo",
          L"TWWDBDateTimePicker"}},
        {L"speedbutton", {L"TRxSpeedButton", L"TfrSpeedButton", L"TfrTBButton"}},
        {L"button", {L"TRzButton"}},
        {L"bitbtn", {L"TRzBitbtn", L"TLMDButton", L"TcxButton"}},
        {L"menubtn", {L"TRzMenuButton"}},
        {L"CheckGroup", {L"TRzCheckGroup", L"TLMDCheckGroup", L"TLMDDBCheckGroup"}},
        {L"Radiogroup", {L"TRzRadioGroup", L"TRzDBRadioGroup"}},
        {L"radiogroup",
         {L"TLMDRADIOGROUP", L"TLMDDBRADIOGROUP", L"TWWRADIOGROUP", L"TcxDBRadioGroup", L"TcxRadioGroup"}},
        {L"Radiobutton", {L"TRzDBRadioButton", L"TLMDRadiobutton"}},
        {L"Edit",
         {L"TRzButtonEdit", L"TLMDEDIT", L"TLMDMASKEDIT", L"TLMDBROWSEEDIT", L"TLMDEXTSPINEDIT", L"TLMDCALENDAREDIT",
          L"TLMDFILEOPENEDIT", L"TLMDFILESAVEEDIT", L"TLMDCOLOREDIT", L"TLMDDBEDIT", L"TLMDDBMASKEDIT",
          L"TLMDDBEXTSPINEDIT", L"TLMDDBSPINEDIT", L"TLMDDBEDITDBLookup", L"TLMDEDITDBLookup", L"TWWDBEDIT",
          L"TOVCPICTUREFIELD", L"TOVCDBPICTUREFIELD", L"TOVCSLIDEREDIT", L"TOVCDBSLIDEREDIT", L"TOVCSIMPLEFIELD",
          L"TOVCDBSIMPLEFIELD", L"TO32DBFLEXEDIT", L"TOVCNUMERICFIELD", L"TOVCDBNUMERICFIELD"}},
        {L"edit", {L"TLMDCalculatorEdit"}},
        {L"groupbox", {L"TcxGroupbox"}},
        {L"Checkbox", {L"TDBCheckboxEh", L"TDBCheckboxEh", L"TLMDCHECKBOX", L"TLMDDBCHECKBOX"}},
    };
    std::vector<std::wstring> out;
    for (const auto& [kind, names] : groups)
      for (const wchar_t* name : names) out.push_back(std::wstring(name) + L"=" + kind);
    return out;
  }();
  return list;
}

// ---------------------------------------------------------------------------
// Class info
// ---------------------------------------------------------------------------

const fw::TClassInfo& TSkinData::StaticClassInfo() {
  using fw::As;
  using fw::props::Field;
  using fw::props::Prop;
  static const fw::TClassInfo info{
      "TSkinData",
      &fw::TComponent::StaticClassInfo(),
      &fw::NewComponent<TSkinData>,
      {
          Prop("Active", TPropKind::Boolean, &TSkinData::Active, &TSkinData::SetActive),
          Field<&TSkinData::DisableTag>("DisableTag", TPropKind::Integer),
          Field<&TSkinData::SkinControls>("SkinControls", TPropKind::Set, kControlTypeNames),
          Field<&TSkinData::Options>("Options", TPropKind::Set, kOptionNames),
          fw::props::SubObject("Skin3rd", &TSkinData::Skin3rd),
          Prop("SkinFile", TPropKind::String, &TSkinData::SkinFile, &TSkinData::SetSkinFile),
          {"SkinStore", TPropKind::String, [](fw::TObject* o) -> TPropValue { return As<TSkinData>(o)->SkinStore(); },
           [](fw::TObject*, const TPropValue&) {}, {}},
          {"SkinFormtype", TPropKind::Enumeration,
           [](fw::TObject* o) -> TPropValue { return int64_t(As<TSkinData>(o)->SkinFormtype()); },
           [](fw::TObject* o, const TPropValue& v) {
             const int64_t t = fw::PropInt(v);
             if (t >= sfMainform && t <= sfDLL) As<TSkinData>(o)->SetSkinFormtype(static_cast<TSkinFormType>(t));
           },
           kFormTypeNames},
          {"Version", TPropKind::String, [](fw::TObject*) -> TPropValue { return std::wstring(kVersion); },
           [](fw::TObject*, const TPropValue&) {}, {}},
          Field<&TSkinData::MenuUpdate>("MenuUpdate", TPropKind::Boolean),
          Field<&TSkinData::MenuMerge>("MenuMerge", TPropKind::Boolean),
          EventProp<TOnFormSkin, &TSkinData::OnFormSkin>("OnFormSkin"),
          EventProp<fw::TNotifyEvent, &TSkinData::OnSkinChanged>("OnSkinChanged"),
          EventProp<TOnSkinControl, &TSkinData::OnSkinControl>("OnSkinControl"),
          EventProp<TOnSkinForm, &TSkinData::OnBeforeSkinForm>("OnBeforeSkinForm"),
          EventProp<TOnSkinForm, &TSkinData::OnAfterSkinForm>("OnAfterSkinForm"),
          {"SkinStream", TPropKind::Data,
           [](fw::TObject* o) -> TPropValue { return As<TSkinData>(o)->WriteSkinStream(); },
           [](fw::TObject* o, const TPropValue& v) {
             if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&v)) As<TSkinData>(o)->ReadSkinStream(*bytes);
           },
           {}},
      },
      {}};
  return info;
}

void RegisterSkinDataClasses() { fw::RegisterClass(&TSkinData::StaticClassInfo()); }

// ---------------------------------------------------------------------------
// Life cycle
// ---------------------------------------------------------------------------

TSkinData::TSkinData(fw::TComponent* owner)
    : fw::TComponent(owner),
      SkinControls(kDefaultControlTypes),
      FSkin3rd(std::make_unique<fw::TControlStrings>()),
      FRecords(std::make_unique<TSkinRecords>()),
      FAppIcon(0, 0, fw::TPixelFormat::pf24bit),
      FMenuGlyphs(std::make_unique<fw::TImageList>(nullptr)) {
  RouteSkinMessages();
  for (const std::wstring& line : DefaultSkin3rd()) FSkin3rd->Add(line);
  // Restore, maximise, minimise and close glyphs of the skinned system menu.
  FMenuGlyphs->SetSize(16, 16);
  fw::TBitmap glyphs;
  LoadResourceBitmap(glyphs, L"MENUGLYPHS");
  if (!glyphs.Empty()) FMenuGlyphs->AddMasked(glyphs, fw::clWhite);
  FMaxWidth = GetSystemMetrics(SM_CXMAXIMIZED);
  FMaxHeight = GetSystemMetrics(SM_CYMAXIMIZED);
}

TSkinData::~TSkinData() {
  if (SkinManager) SkinManager->RemoveSkinData(this);
}

void TSkinData::Loaded() {
  fw::TComponent::Loaded();
  if (IsDesigning()) return;
  if (!HasScrollBarInfoEntry()) SkinControls &= ~SetOf(xcScrollbar);
  TSkinManage& manager = EnsureSkinManager();
  manager.AddSkinData(this);
  CreateCaptionFont();

  if (FSkinFormtype != sfMainform) {
    manager.FEnabled = true;
    manager.FState = msRunning;
    if (auto* form = dynamic_cast<fw::TCustomForm*>(Owner()); form && FActive) manager.SkinWindow(form->Handle());
    return;
  }
  manager.InstallHook();
  if (FActive) {
    if (FNoSkin) {
      FActive = false;  // nothing to skin with: the program runs unskinned
    } else {
      manager.FPendingSkinData = this;
      manager.RequestAction(saSkin, 250);
    }
  }
  if (SkinControls & SetOf(xcMainMenu)) SkinControls &= ~SetOf(xcMenuItem);
  else SkinControls &= ~SetOf(xcSystemMenu);
  BuildAppIcon();
}

void TSkinData::CreateCaptionFont() { FCaptionFont.Reset(skin::CreateCaptionFont()); }

// The application's small icon on magenta, drawn with magenta transparent.
void TSkinData::BuildAppIcon() {
  HWND app = fw::Application ? fw::Application->Handle() : nullptr;
  if (!app) return;
  auto icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(app, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(app, GCLP_HICON));
  if (!icon) return;
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  FAppIcon.SetSize(cx, cy);
  HDC dc = FAppIcon.Canvas().Handle();
  fw::TBrushHandle magenta(CreateSolidBrush(0xFF00FF));
  const RECT all{0, 0, cx, cy};
  FillRect(dc, &all, magenta);
  DrawIconEx(dc, 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
  FAppIcon.Transparent = true;
  FAppIcon.TransparentColor = fw::clFuchsia;
}

// ---------------------------------------------------------------------------
// Properties
// ---------------------------------------------------------------------------

void TSkinData::SetSkin3rd(const std::vector<std::wstring>& lines) {
  FSkin3rd->Clear();
  for (const std::wstring& line : lines) FSkin3rd->Add(line);
}

std::wstring TSkinData::SkinStore() const {
  return IsDesigning() && const_cast<fw::TMemoryStream&>(FSkinStream).Size() > 0 ? L"(Good)" : L"(none)";
}

void TSkinData::SetActive(bool value) {
  if (value == FActive) return;
  FActive = value;
  if (IsDesigning() || IsLoading() || !SkinManager) return;
  TSkinManage& manager = *SkinManager;
  switch (FSkinFormtype) {
    case sfOnlyThisForm:
      manager.FPendingSkinData = this;
      if (value && FNoSkin) return;
      manager.RequestAction(value ? saSkin : saUnskin, 250);
      return;
    case sfDialog:
    case sfDLL:
      return;
    case sfMainform:
      if (value) {
        if (FNoSkin) return;
        manager.FPendingSkinData = this;
        manager.RequestAction(saSkin, 250);
        manager.FState = 1;
      } else {
        manager.FPendingSkinData = this;
        manager.RequestAction(saUnskin, 250);
      }
      return;
  }
}

void TSkinData::SetSkinFile(const std::wstring& name) {
  FNoSkin = true;
  FSkinFile = name;
  if (IsDesigning()) {
    if (!name.empty() && FSkinStream.Size() > 0) FSkinStream.Clear();
    return;
  }
  // A file that cannot be read whole, or is larger than any skin can be, changes nothing.
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (name.empty() || !GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &attributes) ||
      (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return;
  const std::int64_t size = (std::int64_t(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
  if (size > kMaxExpandedLength) return;
  fw::TMemoryStream file;
  try {
    file.LoadFromFile(name);
  } catch (const fw::Exception&) {
    return;
  }
  FSkinStream.Clear();
  FSkinStream.CopyFrom(file, 0);
  if (LoadSkin()) ApplySkin();
}

void TSkinData::ReadSkinStream(const std::vector<std::uint8_t>& block) {
  if (block.empty()) return;  // no stored skin
  std::int32_t count = 0;
  if (block.size() >= 4)
    count = static_cast<std::int32_t>(block[0] | block[1] << 8 | block[2] << 16 | static_cast<std::uint32_t>(block[3]) << 24);
  if (block.size() < 4 || count < 0 || static_cast<std::uint64_t>(count) > block.size() - 4) {
    // A damaged block leaves the program unskinned; reading the form goes on.
    ShowSkinMessage("皮肤数据已损坏：窗体中保存的皮肤长度与数据不符");
    return;
  }
  if (count == 0) return;
  FSkinStream.Clear();
  FSkinStream.WriteBuffer(block.data() + 4, count);
  FSkinStream.SetPosition(0);
  if (!IsDesigning()) LoadSkin();
}

std::vector<std::uint8_t> TSkinData::WriteSkinStream() {
  const auto size = static_cast<std::uint32_t>(FSkinStream.Size());
  std::vector<std::uint8_t> block(4 + static_cast<std::size_t>(size));
  for (int k = 0; k < 4; ++k) block[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(size >> (8 * k));
  if (size > 0) std::memcpy(block.data() + 4, FSkinStream.Memory(), size);
  return block;
}

// ---------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------

bool TSkinData::LoadSkin() {
  const bool hadSkin = !FNoSkin;
  FNoSkin = true;
  if (IsDesigning()) return false;
  const auto* data = static_cast<const std::uint8_t*>(FSkinStream.Memory());
  const std::span<const std::uint8_t> stored(data, static_cast<std::size_t>(FSkinStream.Size()));

  auto fail = [&](const std::string& message) {
    ShowSkinMessage(message);
    FNoSkin = !hadSkin;  // the skin loaded before is still whole and in charge
    return false;
  };
  TSkinReader reader;
  if (!reader.ReadArchive(stored)) {
    FNoSkin = !hadSkin;
    return false;  // the reader has told the user why
  }
  std::vector<std::uint8_t> text;
  std::string iniName;
  if (!reader.FindEntry(".ini", text, iniName)) return fail("皮肤数据已损坏：没有皮肤描述（.ini）");
  TQuickIni ini;
  ini.Load(std::span<const std::uint8_t>(text));

  TSkinLayout layout;
  std::string error;
  if (!BuildSkinLayout(ini, ArchiveImageLookup(reader), layout, error)) return fail(error);
  auto records = std::make_unique<TSkinRecords>();
  try {
    BuildSkinRecords(layout, reader, *records);
  } catch (const fw::Exception& e) {
    return fail("皮肤数据已损坏：图像无法读取（" + fw::WideToUtf8(e.Message()) + "）");
  } catch (const std::exception& e) {
    return fail(std::string("皮肤数据已损坏：") + e.what());
  }
  FRecords = std::move(records);
  FFaceBrush.Reset(CreateSolidBrush(fw::ColorToRGB(FRecords->Colours.ButtonFaceColour)));
  FNoSkin = false;
  return true;
}

void TSkinData::ApplySkin() {
  if (IsDesigning() || IsLoading()) return;
  if (!SkinManager) Loaded();
  SkinManager->FPendingSkinData = this;
  SkinManager->RefreshSkinForms();
  if (SkinManager->FState == 1) SkinManager->RequestAction(saRefresh, 250);
}

void TSkinData::SkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::QueryFormSkin(HWND window, const std::wstring& className, bool& doSkin) {
  FQueryWindow = window;
  if (OnFormSkin) {
    OnFormSkin(this, className, doSkin);
    return;
  }
  if (className == L"SysMonthCal32" || ((SkinControls & SetOf(xcFastReport)) && className.starts_with(L"Tfr")))
    doSkin = false;
}

}  // namespace skin
