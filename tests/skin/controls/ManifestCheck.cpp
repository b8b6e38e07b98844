// Before any test: the program's manifest is in force, so a "BUTTON" window is the common
// controls' version 6 button. Without it user32's own button class paints its states itself and
// every test here would look at the wrong control.
#include <windows.h>

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>

namespace {

class TCommonControls6 : public ::testing::Environment {
public:
  void SetUp() override {
    HWND probe = CreateWindowW(L"BUTTON", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(probe, nullptr);
    // The module whose code runs the window: the button's window procedure lies in it.
    const auto proc = reinterpret_cast<LPCWSTR>(GetWindowLongPtrW(probe, GWLP_WNDPROC));
    DestroyWindow(probe);
    HMODULE module = nullptr;
    ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   proc, &module));
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(module, buffer, MAX_PATH);
    std::wstring path = buffer;
    std::transform(path.begin(), path.end(), path.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    const std::string shown(path.begin(), path.end());
    ASSERT_TRUE(path.ends_with(L"\\comctl32.dll")) << "the BUTTON window runs in " << shown;
    // Windows' version 6 says so; Wine's reports 5.81 from every copy, so there the module must
    // come from the version 6 assembly the manifest names.
    const auto version = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetVersion")));
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    const bool reports6 = version && version(&info) == S_OK && info.dwMajorVersion >= 6;
    const bool assembly6 = path.find(L"common-controls_6595b64144ccf1df_6.") != std::wstring::npos;
    ASSERT_TRUE(reports6 || assembly6) << "the BUTTON class is not the common controls' version 6: " << shown;
  }
};

[[maybe_unused]] ::testing::Environment* const kCheck = ::testing::AddGlobalTestEnvironment(new TCommonControls6);

}  // namespace
