// Which skin object takes over which child control of a skinned window, and the list of them.
// For a framework form the decision goes: the application's OnSkinControl, the skin data's list
// of other libraries' classes, then a fixed chain of class tests, each gated by a member of the
// skin data's SkinControls. Windows without a framework form are judged by window class.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cwctype>

#include "Buttons.h"
#include "Forms.h"
#include "Grids.h"
#include "StdCtrls.h"
#include "TypInfo.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinBoxes.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCombos.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinMedia.h"
#include "skin/controls/SkinMisc.h"
#include "skin/controls/SkinScrollbars.h"
#include "skin/controls/SkinStatus.h"
#include "skin/controls/SkinTabs.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"

namespace skin {

namespace {

std::wstring Upper(std::wstring s) {
  std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
  return s;
}
std::wstring Lower(std::wstring s) {
  std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return s;
}

// The object's class is the named class or derives from it (compared by name, so that classes
// of other libraries with the framework's class names count as well).
bool IsA(const fw::TObject* object, const char* name) {
  for (const fw::TClassInfo* c = object ? &object->ClassInfo() : nullptr; c; c = c->Parent)
    if (std::string_view(c->Name) == name) return true;
  return false;
}

// Scroll-capable: a scroll-bar style bit, or a memo or a list box.
bool ScrollCapable(fw::TControl* control) {
  auto* wc = dynamic_cast<fw::TWinControl*>(control);
  if (!wc) return false;
  if (wc->HandleAllocated() && (GetWindowLongW(wc->HandleIfAllocated(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)))
    return true;
  return IsA(control, "TMemo") || IsA(control, "TCustomListBox");
}

}  // namespace

// ---------------------------------------------------------------------------
// The list
// ---------------------------------------------------------------------------

bool TWinSkinForm::RegisterControl(TSkinControl* control) {
  if (!control) return false;
  if (std::find(FControls.begin(), FControls.end(), control) != FControls.end()) return true;
  FControls.push_back(control);
  return false;
}

void TWinSkinForm::RemoveControl(TSkinControl* control) {
  const auto it = std::find(FControls.rbegin(), FControls.rend(), control);
  if (it != FControls.rend()) FControls.erase(std::next(it).base());
  if (FHotControl == control) FHotControl = nullptr;
}

TSkinControl* TWinSkinForm::FindControlByHandle(HWND window) const {
  for (TSkinControl* c : FControls)
    if (c->FHandle == window) return c;
  return nullptr;
}

void TWinSkinForm::FreeAllControls() {
  while (!FControls.empty()) {
    TSkinControl* c = FControls.front();
    if (c->FStatus != scWindowGone) c->RestoreControl();
    // Released first: a skin object someone hooked on top of stays, inactive, with its control.
    const bool free = c->Release();
    RemoveControl(c);
    if (free) delete c;
  }
  FControls.clear();
  FHotControl = nullptr;
}

void TWinSkinForm::FreeDeadControls() {
  for (std::size_t i = FControls.size(); i-- > 0;) {
    if (i >= FControls.size() || FControls[i]->FStatus != scWindowGone) continue;
    TSkinControl* c = FControls[i];
    FControls.erase(FControls.begin() + static_cast<std::ptrdiff_t>(i));
    if (FHotControl == c) FHotControl = nullptr;
    delete c;
  }
}

bool TWinSkinForm::IsSkinned(fw::TControl* control) const {
  if (!control) return false;
  if (control->Perform(WM_SKIN_QUERY) == 1) return true;
  return std::any_of(FControls.begin(), FControls.end(), [control](TSkinControl* c) {
    return c->FStatus != scWindowGone && (c->FControl == control || c->FPaintControl == control);
  });
}

bool TWinSkinForm::AlreadySkinned(fw::TControl* control) const {
  auto* wc = dynamic_cast<fw::TWinControl*>(control);
  if (!wc || !wc->HandleAllocated()) return true;
  if (FSkinData && control->Tag == FSkinData->DisableTag) return true;
  HWND window = wc->HandleIfAllocated();
  if (SendMessageW(window, WM_SKIN_QUERY, 0, 0) == 1) return true;
  return std::any_of(FControls.begin(), FControls.end(), [window](TSkinControl* c) {
    return c->FStatus != scWindowGone && c->FHandle == window;
  });
}

// ---------------------------------------------------------------------------
// Framework forms
// ---------------------------------------------------------------------------

void TWinSkinForm::SkinFormControls(fw::TCustomForm* form) {
  if (!form || !FSkinData) return;
  FreeDeadControls();
  SkinComponents(form);
  // Controls the form does not own (a radio group's buttons, a status bar's progress bar).
  for (fw::TWinControl* c : form->TabOrderList())
    if (!AlreadySkinned(c)) SkinControl(c, form);
}

void TWinSkinForm::SkinComponents(fw::TComponent* owner) {
  if (!owner) return;
  auto* parent = dynamic_cast<fw::TWinControl*>(owner);
  // Copied: skinning may create components (the skin objects themselves, owned by the controls).
  std::vector<fw::TControl*> controls;
  for (int i = 0; i < owner->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<fw::TControl*>(owner->Components(i))) controls.push_back(c);
  for (fw::TControl* c : controls) SkinControl(c, parent);
}

void TWinSkinForm::SkinChildren(fw::TWinControl* container) {
  if (!container) return;
  std::vector<fw::TControl*> children;
  for (int i = 0; i < container->ControlCount(); ++i) children.push_back(container->Controls(i));
  for (fw::TControl* c : children) SkinControl(c, container);
}

namespace {

// A new skin object of class T for a framework control, attached.
template <class T>
T* AttachTo(TWinSkinForm* form, fw::TControl* control, bool flag) {
  auto* skin = new T(control);
  skin->InitControl(form, form->FSkinData, &form->ControlCanvas(), flag);
  return skin;
}

// The glyph skin of another library's check box or radio button, with the face colour.
void AttachGlyphsTo(TWinSkinForm* form, fw::TControl* control, int kind) {
  auto* skin = new TSkinObjImage(control);
  skin->FGlyphKind = kind;
  skin->InitControl(form, form->FSkinData, &form->ControlCanvas(), true);
}

// A scroll-bar skin for a scrollable control; a list view's skin also draws its header.
void AttachScrollTo(TWinSkinForm* form, fw::TControl* control) {
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);
  if (!windowed) return;
  TSkinScrollbar* skin = IsA(control, "TListView") || IsA(control, "TCustomListView") ? new TSkinListView(control)
                                                                                       : new TSkinScrollbar(control);
  skin->AttachScroll(windowed, form->FSkinData, &form->ControlCanvas(), form);
}

}  // namespace

void TWinSkinForm::SkinControl(fw::TControl* control, fw::TWinControl* parent) {
  if (!control || !FSkinData) return;
  TSkinData& data = *FSkinData;
  const auto has = [&data](TSkinControlType t) { return (data.SkinControls & SetOf(t)) != 0; };
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);

  // Controls marked with the disabling tag stay the system's, and so do the items of a marked
  // radio or check group.
  if (control->Tag == data.DisableTag) {
    const std::wstring cls = Lower(fw::Utf8ToWide(control->ClassName()));
    if (windowed && (cls.find(L"radiogroup") != std::wstring::npos || cls.find(L"checkgroup") != std::wstring::npos))
      for (int i = 0; i < windowed->ControlCount(); ++i) windowed->Controls(i)->Tag = data.DisableTag;
    return;
  }
  if (!control->Parent() || IsSkinned(control)) return;
  const std::wstring cls = Upper(fw::Utf8ToWide(control->ClassName()));
  if (windowed) {
    try {
      windowed->HandleNeeded();
    } catch (...) {
      return;  // a control whose window cannot be made is left alone
    }
  }

  if (data.OnSkinControl) {
    fw::TComponent* result = nullptr;
    data.OnSkinControl(this, FSkinData, parent, control, cls, result);
    if (auto* skin = dynamic_cast<TSkinControl*>(result)) {
      // Only a skin object made for this very control is taken.
      if (skin->Owner() == control && windowed) {
        if (!RegisterControl(skin)) skin->InitControl(this, FSkinData, &FControlCanvas, skin->FRecolor);
        if (IsA(control, "TCustomPanel")) SkinChildren(windowed);
      }
      return;
    }
  }
  if (SkinThirdParty(cls, control)) return;
  if (cls == L"TDBCOMBOBOXEH" || cls == L"TFRDESIGNERPAGE" || cls == L"TFRPBOX") return;

  // The built-in chain; a rule whose class matches but whose kind is not skinned lets the next
  // rules try. Rules whose skin objects belong to later families stop the chain with nothing.
  const bool tabElement = data.Tabs() && !data.Tabs()->Bitmap.Empty();
  if (cls == L"TTABSET" && has(xcTab) && tabElement) {
    AttachTo<TSkinTab31>(this, control, false);
    return;
  }
  if (cls == L"TTABBEDNOTEBOOK" && has(xcTab) && tabElement) {
    AttachTo<TSkinTab>(this, control, false);
    return;
  }
  if (cls == L"TMVCPANEL") {
    SkinChildren(windowed);
    return;
  }
  if ((cls == L"TUPDOWN" || cls == L"TSPINBUTTON") && has(xcSpin)) {
    AttachTo<TSkinUpDown>(this, control, false);
    return;
  }
  if (cls == L"TMEDIAPLAYER" && has(xcButton)) {
    AttachTo<TSkinMP>(this, control, false);
    return;
  }
  if (IsA(control, "TCustomRadioGroup") && has(xcRadioButton) && windowed) {
    for (int i = 0; i < windowed->ControlCount(); ++i)
      if (windowed->Controls(i)->Tag != data.DisableTag && !IsSkinned(windowed->Controls(i)))
        AttachTo<TSkinRadioButton>(this, windowed->Controls(i), false);
    AttachTo<TSkinGroupBox>(this, control, true);
    return;
  }
  if (cls == L"TDBNAVIGATOR" && has(xcPanel) && windowed) {
    AttachTo<TSkinBox>(this, control, true);
    for (int i = 0; i < windowed->ControlCount(); ++i) SkinControl(windowed->Controls(i), nullptr);
    return;
  }
  if ((cls == L"TRZDBCHECKBOX" || cls == L"TRZCHECKBOX") && has(xcCheckBox)) {
    AttachGlyphsTo(this, control, gkCheck);
    return;
  }
  if ((cls == L"TRZRADIOBUTTON" || cls == L"TRZDBRADIOBUTTON") && has(xcRadioButton)) {
    AttachGlyphsTo(this, control, gkRadio);
    return;
  }
  if ((cls == L"TCXDBCHECKBOX" || cls == L"TCXCHECKBOX") && has(xcCheckBox)) {
    AttachGlyphsTo(this, control, gkPropertiesCheck);
    return;
  }
  if (IsA(control, "TCustomGroupBox") && has(xcPanel) && windowed) {
    SkinChildren(windowed);  // the group box's children first
    AttachTo<TSkinGroupBox>(this, control, false);
    return;
  }
  if (IsA(control, "TRadioButton") && has(xcRadioButton)) {
    AttachTo<TSkinRadioButton>(this, control, false);
    return;
  }
  if (IsA(control, "TCustomStatusBar") && has(xcStatusBar)) {
    AttachTo<TSkinStatusBar>(this, control, false);
    return;
  }
  if (IsA(control, "TProgressBar") && has(xcProgress)) {
    AttachTo<TSkinProgress>(this, control, false);
    return;
  }
  if (cls == L"TTNTCOMBOBOX" && has(xcCombo)) {
    AttachTo<TSkinComBox>(this, control, false);
    return;
  }
  if (has(xcScrollbar) && (cls == L"TRICHEDIT" || cls == L"TWWDBRICHEDIT" || cls == L"TDXDBMEMO")) {
    AttachScrollTo(this, control);
    return;
  }
  if (IsA(control, "TSpeedButton") && has(xcSpeedButton)) {
    auto* skin = new TSkinSpeedButton(control);
    skin->InitSpeedButton(this, FSkinData, &FControlCanvas);
    return;
  }
  if (IsA(control, "TCustomPanel") && has(xcPanel) && windowed) {
    SkinChildren(windowed);
    AttachTo<TSkinBox>(this, control, true);
    return;
  }
  if (has(xcScrollbar) && ((cls == L"TDXTREELIST" || cls == L"TDXDBTREELIST" || cls == L"TDXDBGRID") ||
                           IsA(control, "TCustomMemo") || IsA(control, "TCustomGrid") || ScrollCapable(control))) {
    AttachScrollTo(this, control);
    return;
  }
  // The framework's bit button is a TButton as well: it keeps its glyph under its own kind.
  if (IsA(control, "TBitBtn") && has(xcBitBtn)) {
    AttachTo<TSkinBitButton>(this, control, false);
    return;
  }
  if (IsA(control, "TButton") && has(xcButton)) {
    AttachTo<TSkinButton>(this, control, false);
    return;
  }
  if (IsA(control, "TCustomEdit") && has(xcEdit)) {
    AttachTo<TSkinEdit>(this, control, false);
    return;
  }
  if (cls != L"TDCEDIT" && cls != L"TDCDBEDIT") {
    if (IsA(control, "TCustomForm")) {
      AttachTo<TSkinBox>(this, control, true);
      SkinComponents(control);
      return;
    }
    // Framework controls the chain has no rule for, each under its own kind.
    if (IsA(control, "TCustomCheckBox") && has(xcCheckBox)) {
      AttachTo<TSkinCheckBox>(this, control, false);
      return;
    }
    if (IsA(control, "TCustomComboBox") && has(xcCombo)) {
      AttachTo<TSkinComBox>(this, control, false);
      return;
    }
    if (IsA(control, "TDateTimePicker") && has(xcCombo)) {
      AttachTo<TSkinDateTime>(this, control, false);
      return;
    }
    // A list view shows its bars only once its rows overflow; its header is always there.
    if (IsA(control, "TListView") && has(xcScrollbar)) {
      AttachScrollTo(this, control);
      return;
    }
    if (IsA(control, "THeaderControl") && has(xcButton)) {
      AttachTo<TSkinHeader>(this, control, false);
      return;
    }
    // Tab controls and page controls; in button style their tabs are buttons. Pages take the
    // skin's face colour while skinned.
    if ((IsA(control, "TPageControl") || IsA(control, "TTabControl")) && has(xcTab) && windowed) {
      if (GetWindowLongW(windowed->Handle(), GWL_STYLE) & TCS_BUTTONS)
        AttachTo<TSkinTabBtn>(this, control, false);
      else if (tabElement)
        AttachTo<TSkinTab>(this, control, false);
      return;
    }
    if (IsA(control, "TTabSheet") && has(xcTab)) {
      AttachTo<TSkinTabSheet>(this, control, true);
      return;
    }
    if (IsA(control, "TTrackBar") && has(xcTrackBar)) {
      AttachTo<TSkinTrackBar>(this, control, false);
      return;
    }
    if (IsA(control, "TScrollBar") && has(xcScrollbar)) {
      AttachTo<TSkinScControl>(this, control, false);
      return;
    }
    return;
  }
  // "NumButtons" 1 is a combo box (a later family), 0 an edit, attached by its window.
  if (GetIntPropByName(control, "NumButtons") == 0 && has(xcEdit) && windowed) {
    auto* skin = new TSkinEdit(control);
    skin->InitWindow(windowed->Handle(), FSkinData, &FControlCanvas, this);
  }
}

bool TWinSkinForm::SkinThirdParty(const std::wstring& className, fw::TControl* control) {
  if (!FSkinData || !FSkinData->Skin3rd()) return false;
  const std::wstring prefix = Lower(className) + L"=";
  const fw::TStringList& lines = *FSkinData->Skin3rd();
  std::wstring kind;
  bool found = false;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::wstring line = Lower(lines.Strings(i));
    if (line.rfind(prefix, 0) != 0) continue;
    const std::size_t eq = line.find(L'=');
    kind = line.substr(eq + 1, 50);
    found = true;
    break;
  }
  if (!found) return false;
  TSkinData& data = *FSkinData;
  const auto has = [&data](TSkinControlType t) { return (data.SkinControls & SetOf(t)) != 0; };
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);
  if (kind == L"nil") return true;
  if (kind == L"combobox" && has(xcCombo)) {
    AttachTo<TSkinComBox>(this, control, false);
  } else if (kind == L"datetimepicker" && has(xcCombo)) {
    AttachTo<TSkinDateTime>(this, control, false);
  } else if (kind == L"mediaplayer" && has(xcButton)) {
    AttachTo<TSkinMP>(this, control, false);
  } else if (kind == L"radiobutton" && has(xcRadioButton)) {
    AttachTo<TSkinRadioButton>(this, control, false);
  } else if (kind == L"panel" && has(xcPanel)) {
    SetPropByName(control, "Transparent", L"True");
    AttachTo<TSkinBox>(this, control, true);
  } else if (kind == L"edit" && has(xcEdit) && windowed) {
    // Only an edit with a border of its own.
    RECT w{}, c{};
    GetWindowRect(windowed->Handle(), &w);
    GetClientRect(windowed->Handle(), &c);
    if (w.right - w.left != c.right || w.bottom - w.top != c.bottom) AttachTo<TSkinEdit>(this, control, false);
  } else if (kind == L"trackbar" && has(xcButton)) {
    SetPropByName(control, "Transparent", L"True");
    AttachTo<TSkinTrackBar>(this, control, false);
  } else if (kind == L"progress" && has(xcProgress)) {
    AttachTo<TSkinProgress>(this, control, false);
  } else if (kind == L"button" && has(xcButton)) {
    AttachTo<TSkinButton>(this, control, false);
  } else if ((kind == L"bitbtn" || kind == L"pngbitbtn") && has(xcButton)) {
    const bool dropDown = kind == L"bitbtn" && prefix == L"tcxbutton=" &&
                          Lower(fw::Utf8ToWide(GetEnumPropByName(control, "Kind"))) == L"cxbkdropdownbutton";
    if (dropDown) {
      AttachTo<TSkinMenuButton>(this, control, false);
    } else {
      auto* skin = new TSkinBitButton(control);
      if (kind == L"pngbitbtn") skin->FGlyphProperty = "PngImage";
      skin->InitControl(this, FSkinData, &FControlCanvas, false);
    }
  } else if (kind == L"menubtn" && has(xcButton)) {
    AttachTo<TSkinMenuButton>(this, control, false);
  } else if (kind == L"speedbutton" && has(xcSpeedButton)) {
    auto* skin = new TSkinSpeedButton(control);
    skin->InitSpeedButton(this, FSkinData, &FControlCanvas);
  } else if ((kind == L"scrollbar" || kind == L"singlescrollbar") && has(xcScrollbar)) {
    AttachScrollTo(this, control);
    if (kind == L"scrollbar") SkinChildren(windowed);
  } else if (kind == L"embedscrollbar" && has(xcScrollbar) && windowed) {
    for (int i = 0; i < windowed->ControlCount(); ++i)
      if (ScrollCapable(windowed->Controls(i))) AttachScrollTo(this, windowed->Controls(i));
  } else if (kind == L"container") {
    SkinChildren(windowed);
  } else if (kind == L"groupbox" && has(xcGroupBox)) {
    AttachTo<TSkinGroupBox>(this, control, true);
  } else if (kind == L"radiogroup" && has(xcGroupBox)) {
    if (has(xcRadioButton) && windowed)
      for (int i = 0; i < windowed->ControlCount(); ++i) {
        if (Upper(fw::Utf8ToWide(windowed->Controls(i)->ClassName())).find(L"TRZ") == std::wstring::npos)
          AttachTo<TSkinRadioButton>(this, windowed->Controls(i), false);
        else
          AttachGlyphsTo(this, windowed->Controls(i), gkRadio);
      }
    AttachTo<TSkinGroupBox>(this, control, true);
  } else if (kind == L"checkgroup" && has(xcPanel)) {
    if (has(xcRadioButton) && windowed)
      for (int i = 0; i < windowed->ControlCount(); ++i) {
        if (Upper(fw::Utf8ToWide(windowed->Controls(i)->ClassName())).find(L"TRZ") == std::wstring::npos)
          AttachTo<TSkinCheckBox>(this, windowed->Controls(i), false);
        else
          AttachGlyphsTo(this, windowed->Controls(i), gkCheck);
      }
    if (has(xcGroupBox)) AttachTo<TSkinGroupBox>(this, control, true);
  } else if (kind == L"checkbox" && has(xcCheckBox)) {
    AttachTo<TSkinCheckBox>(this, control, false);
  } else if (kind == L"tab" && has(xcTab) && data.Tabs() && !data.Tabs()->Bitmap.Empty()) {
    AttachTo<TSkinTab>(this, control, false);
  } else if (kind == L"advpagecontrol" && has(xcTab)) {
    auto* skin = new TSkinAdvPage(control);
    skin->FKind = 4;
    skin->InitControl(this, FSkinData, &FControlCanvas, true);
  }
  // Every other kind (the later families, unknown kinds, kinds not skinned) leaves the control
  // as it is and still ends the search.
  return true;
}

// ---------------------------------------------------------------------------
// Bare windows
// ---------------------------------------------------------------------------

void TWinSkinForm::SkinChildWindows(HWND window) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (GetWindowLongW(c, GWL_STYLE) & WS_CHILD) children.push_back(c);
  for (HWND c : children) SkinChildWindow(c);
}

void TWinSkinForm::SkinChildWindow(HWND window) {
  if (!FSkinData || !IsWindow(window) || FindControlByHandle(window)) return;
  if (SendMessageW(window, WM_SKIN_QUERY, 0, 0) == 1) return;
  TSkinData& data = *FSkinData;
  const auto has = [&data](TSkinControlType t) { return (data.SkinControls & SetOf(t)) != 0; };
  const std::wstring cls = Lower(ClassNameOf(window));
  const LONG s = GetWindowLongW(window, GWL_STYLE);
  TSkinControl* skin = nullptr;
  if (cls == L"button") {
    // Push buttons by their type: check boxes 2, 3, 5, 6; radio buttons 4, 9; push buttons 0, 1,
    // 8 (the old user button); group boxes, owner-drawn and split buttons, command links stay the
    // system's.
    switch (s & 0xF) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        if (has(xcCheckBox)) skin = new TSkinCheckBox(this);
        break;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        if (has(xcRadioButton)) skin = new TSkinRadioButton(this);
        break;
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
      case 8:
        if (has(xcButton)) skin = new TSkinButton(this);
        break;
      default:
        break;
    }
  } else if (cls == L"combobox" && has(xcCombo)) {
    if ((s & 3) != CBS_SIMPLE) skin = new TSkinComBox(this);
  } else if (cls == L"comboboxex32" && has(xcCombo)) {
    // The combo box inside it is the one drawn.
    if (HWND inner = GetTopWindow(window); inner && !FindControlByHandle(inner)) {
      auto* combo = new TSkinComBox(this);
      combo->InitWindow(inner, FSkinData, &FControlCanvas, this);
    }
  } else if (cls == L"scrollbar") {
    // Only a size box; a scroll bar proper (with or without a tab stop) stays the system's.
    if (TSkinSizer::IsSizeBox(s)) skin = new TSkinSizer(this);
  } else if (cls == L"#32770" && !(s & WS_TABSTOP)) {
    SkinChildWindows(window);
    skin = new TSkinBoxH(this);
  } else if (cls == L"tpanel" || cls == L"ttntpanel.unicodeclass" || cls == L"ttntsilentpaintpanel.unicodeclass") {
    SkinChildWindows(window);
    if (fw::TWinControl* c = fw::FindControl(window)) c->SetColor(data.ButtonFaceColour());
  } else if (cls == L"tcheckbox" && has(xcCheckBox)) {
    skin = new TSkinCheckBox(this);
  } else if (cls == L"tcombobox" && has(xcCombo)) {
    skin = new TSkinComBox(this);
  } else if (cls == L"tbutton" && has(xcButton)) {
    skin = new TSkinButton(this);
  } else if (cls == L"tprogressbar" || cls == L"msctls_progress32") {
    skin = new TSkinProgress(this);
  } else if (cls == L"tsilentpaintpanel") {
    if (fw::TWinControl* c = fw::FindControl(window)) c->SetColor(data.ButtonFaceColour());
  } else if (cls == L"systabcontrol32" && has(xcTab) && !(s & TCS_OWNERDRAWFIXED)) {
    // Tab windows in button style get buttons, as framework tab controls do.
    if (s & TCS_BUTTONS)
      skin = new TSkinTabBtn(this);
    else
      skin = new TSkinTab(this);
  } else if (cls == L"toolbarwindow32") {
    skin = new TSkinBoxH(this);
  } else if (cls == L"edit" && has(xcEdit)) {
    skin = new TSkinEdit(this);
  }
  if (skin) skin->InitWindow(window, FSkinData, &FControlCanvas, this);
}

void TWinSkinForm::SkinLateWindow(HWND window) {
  FreeDeadControls();
  if (!FSkinData || !IsWindow(window) || FindControlByHandle(window)) return;
  if (!FForm) {
    // Only the window's own children; the nested ones come with their container.
    if (GetParent(window) == FHandle) SkinChildWindow(window);
    return;
  }
  fw::TWinControl* control = fw::FindControl(window);
  if (!control || control->GetParentForm() != FForm || AlreadySkinned(control)) return;
  fw::TWinControl* parent = control->Parent();
  // An item added to a skinned radio group is a radio button of that group.
  if (parent && IsA(parent, "TCustomRadioGroup") && IsSkinned(parent)) {
    if ((FSkinData->SkinControls & SetOf(xcRadioButton)) && control->Tag != FSkinData->DisableTag)
      AttachTo<TSkinRadioButton>(this, control, false);
    return;
  }
  SkinControl(control, parent);
}

LRESULT TWinSkinForm::TabClose(WPARAM wParam, LPARAM lParam) {
  const std::shared_ptr<bool> alive = FAlive;
  const LRESULT own = CallOld(WM_SKIN_TABCLOSE, wParam, lParam);
  if (own != 0 || !*alive || !FSkinData || !FSkinData->OnTabClose) return own;
  fw::TWinControl* tabs = fw::FindControl(reinterpret_cast<HWND>(wParam));
  if (!tabs) return 0;
  const int index = static_cast<int>(lParam);
  bool canClose = true;
  FSkinData->OnTabClose(this, tabs, index, PageOfTab(tabs, index), canClose);
  return canClose ? 0 : 1;
}

void TWinSkinForm::ReskinScrollbars(HWND window) {
  for (std::size_t i = FControls.size(); i-- > 0;) {
    TSkinControl* old = FControls[i];
    if (old->FHandle != window && !(old->FStatus == scWindowGone && dynamic_cast<TSkinScrollbar*>(old))) continue;
    fw::TWinControl* control = old->FControl;
    if (!dynamic_cast<TSkinScrollbar*>(old) || !control) return;
    FControls.erase(FControls.begin() + static_cast<std::ptrdiff_t>(i));
    if (FHotControl == old) FHotControl = nullptr;
    if (old->Release()) delete old;
    // The control's new window gets a new skin once it exists.
    if (control->HandleAllocated() && !AlreadySkinned(control)) AttachScrollTo(this, control);
    return;
  }
}

}  // namespace skin
