// The generator's checks of a skin before it is written: the skin lint, then its own rules.
#include "tools/skingen/Check.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <span>

#include "skin/data/SkinElements.h"

namespace skingen {

namespace {

using skin::pack::Entry;
using skin::pack::TFinding;
using skin::pack::TSeverity;

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The rules of the built-in drawings, checked on the layout the engine builds from the files.
class TDrawingCheck {
public:
  explicit TDrawingCheck(const std::vector<Entry>& files) {
    for (const Entry& f : files) {
      if (f.name.find(".ini") != std::string::npos) {
        if (!FDescription) FDescription = &f;  // the entry the engine takes
      } else if (EndsWith(f.name, ".bmp")) {
        FBitmaps.emplace(Lower(f.name), &f);
      }
    }
  }

  std::vector<TFinding> Run() {
    if (!FDescription) return {};  // the lint has reported it
    FIni.Load(std::span<const std::uint8_t>(FDescription->data));
    const skin::TImageLookup lookup = [this](const std::string& entry) -> std::optional<skin::TImageInfo> {
      const auto found = FBitmaps.find(Lower(entry));
      if (found == FBitmaps.end() || found->second->data.empty()) return std::nullopt;
      return skin::ProbeBitmap(found->second->data).value_or(skin::TImageInfo{});
    };
    std::string refusal;
    if (!skin::BuildSkinLayout(FIni, lookup, FLayout, refusal)) return {};  // so has the lint
    Borders();
    CaptionButtons();
    Colours();
    if (FLayout.SkinName.empty()) Fail("TitlebarSkin", "SkinName", "missing: every built-in skin carries its name");
    Names();
    return std::move(FFindings);
  }

private:
  const Entry* FDescription = nullptr;
  std::map<std::string, const Entry*> FBitmaps;  // lower-cased names, as the archive looks them up
  skin::TQuickIni FIni;
  skin::TSkinLayout FLayout;
  std::int32_t FCaption = 0;  // height of the caption band: one frame of the top border
  std::vector<TFinding> FFindings;

  void Fail(std::string section, std::string key, std::string message) {
    FFindings.push_back({TSeverity::Error, std::move(section), std::move(key), std::move(message)});
  }

  void Borders() {
    static constexpr const char* sides[4] = {"Left", "Right", "Top", "Bottom"};
    for (std::size_t i = 0; i < 4; ++i) {
      const std::int32_t frames = FLayout.Borders[i].Fields.FrameCount;
      if (frames != 2)
        Fail("Personality", std::string(sides[i]) + "Frame",
             std::to_string(frames) + ": the border is drawn with an active and an inactive frame");
    }
    const skin::TElementLayout& top = FLayout.Borders[2];
    FCaption = top.Image.Height() / top.Fields.FrameCount;
    if (FCaption < 20)
      Fail("Personality", "Top", "a caption band of " + std::to_string(FCaption) +
                                     " px: the title and the caption buttons are drawn for 20 or more");
    for (std::size_t i = 0; i < 2; ++i) {
      const std::int32_t fixed = FLayout.Borders[i].Fields.Margins.Top;
      if (fixed < FCaption)
        Fail("Personality", std::string(sides[i]) + "TopHeight",
             std::to_string(fixed) + " px keeps less than the caption band (" + std::to_string(FCaption) +
                 " px) fixed: the caption part of the border would stretch");
    }
  }

  // The buttons of the description (the three of a maximised MDI child, last, sit in the menu band).
  void CaptionButtons() {
    std::vector<std::string> sections;
    FIni.ReadSections(&sections);
    const auto& buttons = FLayout.CaptionButtons;
    for (std::size_t i = 0; i + 3 < buttons.size(); ++i) {
      const skin::TSysButtonLayout& b = buttons[i];
      if (!b.Image.Present() || b.Button.Ycoord + b.Image.Height() <= FCaption) continue;
      // The record carries the upper-cased name; report it as the description spells it.
      std::string section = b.Fields.Name;
      for (const std::string& s : sections)
        if (Lower(s) == Lower(section)) {
          section = s;
          break;
        }
      Fail(section, "Ycoord", std::to_string(b.Button.Ycoord) + " + " + std::to_string(b.Image.Height()) +
                                  " px reaches below the caption band (" + std::to_string(FCaption) + " px)");
    }
  }

  // Every colour given, so that no system colour shows through a built-in skin.
  void Colours() {
    for (const char* key : {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu",
                            "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow",
                            "ButtonDkShadow", "MenuBarText", "TitleTextActive", "TitleTextNoActive"})
      if (FIni.ReadString("Colours", key, {}).empty()) Fail("Colours", key, "missing: the system's colour would show");
    if (FLayout.Colours.ButtonShadowColour == FLayout.Colours.MenuTextColour)
      Fail("Colours", "ButtonShadow", "the same as MenuText: disabled menu-bar items would look enabled");
  }

  // Every drawing is named by the description, as it is written (the engine ignores case).
  void Names() {
    std::set<std::string> named;
    auto add = [&named](const skin::TImageRef& image) {
      if (!image.Entry.empty()) named.insert(image.Entry);
    };
    auto addSpec = [&add](const skin::TElementLayout& e) {
      add(e.Image);
      add(e.Image2);
      add(e.Image3);
    };
    for (const auto& border : FLayout.Borders) addSpec(border);
    addSpec(FLayout.Title);
    addSpec(FLayout.Buttons);
    for (const auto& slot : FLayout.Slots)
      if (slot) addSpec(*slot);
    for (const auto& button : FLayout.CaptionButtons) add(button.Image);
    add(FLayout.MDIImage);

    std::set<std::string> namedLower;
    for (const std::string& name : named) {
      namedLower.insert(Lower(name));
      const auto drawn = FBitmaps.find(Lower(name));
      if (drawn != FBitmaps.end() && drawn->second->name != name)
        Fail({}, name, "the bitmap is drawn as \"" + drawn->second->name + "\": name it as it is written");
    }
    for (const auto& [lower, file] : FBitmaps)
      if (!namedLower.count(lower)) Fail({}, file->name, "drawn, but the description does not name it");
  }
};

}  // namespace

std::vector<Entry> SkinFiles(const std::vector<Image>& images, const std::string& iniName,
                             const std::vector<std::uint8_t>& description) {
  std::vector<Entry> files;
  for (const Image& image : images) files.push_back({image.name, EncodeBmp24(image.canvas)});
  files.push_back({iniName, description});
  std::sort(files.begin(), files.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return files;
}

std::vector<TFinding> CheckSkinFiles(const std::vector<Entry>& files) {
  std::vector<TFinding> findings = skin::pack::CheckEntries(files);
  for (TFinding& f : TDrawingCheck(files).Run()) findings.push_back(std::move(f));
  return findings;
}

bool Blocks(const std::vector<TFinding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const TFinding& f) { return f.Severity != TSeverity::Note; });
}

}  // namespace skingen
