// Shared steps of the preview tests: pumping, a window's pixels as the screen shows them, and
// the check that skinning switched off and on leaves a set of the preview's controls exactly as
// the system had them and skins each once.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "SkinPreview.h"
#include "skin/SkinMessages.h"
#include "skin/controls/WinSubClass.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

namespace previewtest {

inline void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    fw::Application->ProcessMessages();
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

// A whole window, border included, as the screen shows it.
inline std::vector<std::uint32_t> Capture(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  std::vector<std::uint32_t> pixels;
  HDC dc = GetWindowDC(w);
  for (int y = 0; y < r.bottom - r.top; ++y)
    for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(w, dc);
  return pixels;
}

inline int Differences(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size()) return static_cast<int>(std::max(a.size(), b.size()));
  int n = 0;
  for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

// The preview built with skinning off (it never saw the skin), shown in front.
inline preview::TFormSkinView* UnskinnedPreview() {
  auto* form = new preview::TFormSkinView(fw::Application);
  form->AfterConstruction();
  form->SetSkinning(false);
  form->Show();
  SetForegroundWindow(form->Handle());
  Pump(300);
  return form;
}

// Skinning on, off, on and off again over the given controls (each skinned once while on, and
// looking different from the system's look by more than `changed` pixels); off gives back the
// framework procedure, the window procedure and the system's pixels, without any help.
inline void CheckOffAndOn(preview::TFormSkinView* form, const std::vector<fw::TWinControl*>& controls,
                          int changed = 50) {
  struct TState {
    fw::TWndMethod WindowProc;
    LONG_PTR Procedure = 0;
    std::vector<std::uint32_t> Look;
  };
  const auto still = [&] {
    SetCursorPos(1250, 1000);
    SetFocus(form->Handle());
    Pump(200);
  };
  const auto skinnedOnce = [&] {
    skin::TWinSkinForm* fs = skin::SkinManager->FindSkinForm(form->Handle());
    ASSERT_NE(fs, nullptr);
    std::map<fw::TControl*, int> owners;
    for (skin::TSkinControl* c : fs->Controls()) ++owners[c->FControl];
    for (fw::TWinControl* t : controls) {
      EXPECT_EQ(owners[t], 1) << t->ClassName();
      EXPECT_EQ(SendMessageW(t->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1) << t->ClassName();
    }
  };
  const auto record = [&] {
    std::map<fw::TWinControl*, TState> states;
    for (fw::TWinControl* t : controls)
      states[t] = {t->WindowProc, GetWindowLongPtrW(t->Handle(), GWLP_WNDPROC),
                   IsWindowVisible(t->Handle()) ? Capture(t->Handle()) : std::vector<std::uint32_t>{}};
    return states;
  };
  const auto compare = [&](const std::map<fw::TWinControl*, TState>& want, bool procedures) {
    for (fw::TWinControl* t : controls) {
      SCOPED_TRACE(t->ClassName());
      const TState& s = want.at(t);
      if (procedures) {
        EXPECT_TRUE(t->WindowProc == s.WindowProc);
        EXPECT_EQ(GetWindowLongPtrW(t->Handle(), GWLP_WNDPROC), s.Procedure);
        EXPECT_EQ(SendMessageW(t->Handle(), skin::WM_SKIN_QUERY, 0, 0), 0);
      }
      if (!s.Look.empty()) {
        EXPECT_EQ(Differences(Capture(t->Handle()), s.Look), 0);
      }
    }
  };

  // The system's look, before the skin ever came.
  still();
  const std::map<fw::TWinControl*, TState> system = record();

  form->SetSkinning(true);
  Pump(300);
  still();
  skinnedOnce();
  const std::map<fw::TWinControl*, TState> skinned = record();
  for (fw::TWinControl* t : controls) {
    if (!system.at(t).Look.empty()) {
      EXPECT_GT(Differences(system.at(t).Look, skinned.at(t).Look), changed) << t->ClassName();
    }
  }

  // Off: procedures given back, the system's look at once.
  form->SetSkinning(false);
  Pump(300);
  still();
  compare(system, true);

  // On again: skinned once, looking as the first time; and off again as before.
  form->SetSkinning(true);
  Pump(300);
  still();
  skinnedOnce();
  compare(skinned, false);
  form->SetSkinning(false);
  Pump(300);
  still();
  compare(system, true);
}

}  // namespace previewtest
