// Optional user32 entries resolved once per process, their call-throughs, and wide text output.
#include "SysEntries.h"

#include <algorithm>

namespace skin {

namespace {

// An exported function of a module as function type F (null when absent). The detour through
// the generic function type keeps the conversion free of cast warnings.
template <class F>
F Entry(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The version from RtlGetVersion: present on every NT system, absent on the others, and
// unlike GetVersionEx neither deprecated nor shimmed by the compatibility manifest. Zeros when
// it is missing.
RTL_OSVERSIONINFOW ReadVersion() {
  using TRtlGetVersion = LONG(WINAPI*)(PRTL_OSVERSIONINFOW);
  auto getVersion = Entry<TRtlGetVersion>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
  RTL_OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!getVersion || getVersion(&version) != 0) version = RTL_OSVERSIONINFOW{};
  return version;
}

bool PlatformIsNT() { return ReadVersion().dwPlatformId == VER_PLATFORM_WIN32_NT; }

// The process's table: user32 loaded and its entries looked up on first use, the module
// released when the process ends.
class TEntryTable {
public:
  static TEntryTable& Instance() {
    static TEntryTable table;
    return table;
  }
  TEntryTable(const TEntryTable&) = delete;
  TEntryTable& operator=(const TEntryTable&) = delete;

  HMODULE User32() const { return FUser32; }
  TSysEntries Current;

private:
  TEntryTable() : FUser32(LoadLibraryW(L"user32.dll")) {
    Current.GetScrollBarInfo = Entry<TSysEntries::TGetScrollBarInfo>(FUser32, "GetScrollBarInfo");
    Current.TrackMouseEvent = Entry<TSysEntries::TTrackMouseEvent>(FUser32, "TrackMouseEvent");
    Current.GetComboBoxInfo = Entry<TSysEntries::TGetComboBoxInfo>(FUser32, "GetComboBoxInfo");
    Current.NT = PlatformIsNT();
  }
  ~TEntryTable() {
    if (FUser32) FreeLibrary(FUser32);
  }

  HMODULE FUser32;
};

// DrawText with DT_MODIFYSTRING writes the shortened text back, up to four characters
// longer than the original, plus its terminating zero.
constexpr size_t ModifyRoom = 4 + 1;

std::string WideToText(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(TextCodePage(), 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string result(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(TextCodePage(), 0, text.data(), length, result.data(), n, nullptr, nullptr);
  return result;
}

}  // namespace

const TSysEntries& SysEntries() { return TEntryTable::Instance().Current; }

TSysEntries SetSysEntriesForTest(const TSysEntries& entries) {
  TSysEntries& current = TEntryTable::Instance().Current;
  TSysEntries previous = current;
  current = entries;
  return previous;
}

HMODULE User32Module() { return TEntryTable::Instance().User32(); }

bool IsNT() { return SysEntries().NT; }

UINT TextCodePage() { return CP_ACP; }

bool HasScrollBarInfoEntry() { return SysEntries().GetScrollBarInfo != nullptr; }

bool QueryScrollBarInfo(HWND wnd, LONG idObject, SCROLLBARINFO& info) {
  info.cbSize = sizeof(info);
  auto getInfo = SysEntries().GetScrollBarInfo;
  return getInfo && getInfo(wnd, idObject, &info) != FALSE;
}

bool TrackMouseLeave(HWND wnd) {
  static_assert(sizeof(void*) != 4 || sizeof(TRACKMOUSEEVENT) == 16, "the 32-bit record is 16 bytes");
  auto track = SysEntries().TrackMouseEvent;
  if (!track) return false;
  TRACKMOUSEEVENT request{};
  request.cbSize = sizeof(request);
  request.dwFlags = TME_LEAVE;
  request.hwndTrack = wnd;
  return track(&request) != FALSE;
}

bool QueryComboBoxInfo(HWND wnd, COMBOBOXINFO& info) {
  info.cbSize = sizeof(info);
  auto getInfo = SysEntries().GetComboBoxInfo;
  return getInfo && getInfo(wnd, &info) != FALSE;
}

int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
  const bool modifies = (format & DT_MODIFYSTRING) != 0;
  if (IsNT()) {
    const int length = static_cast<int>(text.size());
    if (!modifies) return DrawTextW(dc, text.c_str(), length, &rect, format);
    std::wstring buffer(text);
    buffer.append(ModifyRoom, L'\0');
    return DrawTextW(dc, buffer.data(), length, &rect, format);
  }
  std::string buffer = WideToText(text);
  if (modifies) buffer.append(ModifyRoom, '\0');
  return DrawTextA(dc, buffer.c_str(), -1, &rect, format);
}

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(TextCodePage(), 0, text.data(), length, nullptr, 0);
  if (n <= 0) return {};
  std::wstring result(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(TextCodePage(), 0, text.data(), length, result.data(), n);
  return result;
}

std::wstring WideFromBuffer(const wchar_t* buffer, int count) {
  if (!buffer || count == 0) return {};
  if (count < 0) return std::wstring(buffer);
  return std::wstring(buffer, std::find(buffer, buffer + count, L'\0'));
}

std::wstring ClassNameOf(HWND wnd) {
  wchar_t name[256] = {};
  const int n = wnd ? GetClassNameW(wnd, name, 256) : 0;
  return WideFromBuffer(name, std::max(n, 0));
}

bool IsWindows2000() {
  static const bool exactly50 = [] {
    const RTL_OSVERSIONINFOW v = ReadVersion();
    return v.dwPlatformId == VER_PLATFORM_WIN32_NT && v.dwMajorVersion == 5 && v.dwMinorVersion == 0;
  }();
  return exactly50;
}

HFONT CreateCaptionFont() {
  // The wide structure with its own size: Wine refuses other sizes.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  return CreateFontIndirectW(&metrics.lfCaptionFont);
}

}  // namespace skin
