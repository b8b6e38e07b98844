// The built-in skin as the program carries it: the SkinStream block of the component named
// SkinData1 in the main window's stored form (a resource of sealbox_res).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "FormReader.h"

namespace bench {

inline std::vector<uint8_t> StoredSkinBlock() {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, L"TFORMSEALBOX", MAKEINTRESOURCEW(10));
  if (!res) return {};
  const char* text = static_cast<const char*>(LockResource(LoadResource(module, res)));
  const fw::TFormNode root = fw::ParseFormText(std::string_view(text, SizeofResource(module, res)));
  for (const fw::TFormNode& child : root.Children)
    if (child.Name == "SkinData1")
      for (const auto& [name, value] : child.Props)
        if (name == "SkinStream") return value.Bytes;
  return {};
}

}  // namespace bench
