// Shared pieces of the application tests: the dialog driver and the main window fixture.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include "AppTestUtil.h"
#include "TestUtil.h"

namespace {

// Every main window checks the user's default key container at its creation and tells the user
// when it had to create one. The container is the machine's state, not the tests': it is made
// once before any test, so that no test meets that message by the order the tests run in.
class TKeyContainerEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    HCRYPTPROV prov = 0;
    if (CryptAcquireContextA(&prov, nullptr, nullptr, PROV_RSA_FULL, 0) ||
        CryptAcquireContextA(&prov, nullptr, nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET))
      CryptReleaseContext(prov, 0);
  }
};
[[maybe_unused]] ::testing::Environment* const kKeyContainer =
    ::testing::AddGlobalTestEnvironment(new TKeyContainerEnvironment);

}  // namespace

namespace apptest {

namespace {
DialogDriver* ActiveDriver = nullptr;

struct FindDialog {
  HWND Found = nullptr;
  HWND Skip = nullptr;
  static BOOL CALLBACK Enum(HWND wnd, LPARAM data) {
    auto* self = reinterpret_cast<FindDialog*>(data);
    wchar_t cls[16] = {};
    GetClassNameW(wnd, cls, 16);
    if (wnd != self->Skip && IsWindowVisible(wnd) && std::wstring(cls) == L"#32770") {
      self->Found = wnd;
      return FALSE;
    }
    return TRUE;
  }
};

// The file name field of a file dialog: the combo box of the newer layout or the plain edit.
HWND FileNameField(HWND dlg) {
  for (int id : {0x47C, 0x480}) {
    HWND h = GetDlgItem(dlg, id);
    if (h && IsWindowVisible(h)) return h;
  }
  return nullptr;
}
}  // namespace

std::wstring WindowText(HWND wnd) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(wnd, s.data(), static_cast<int>(s.size()))));
  return s;
}

std::vector<unsigned char> Pattern(size_t n, unsigned seed) {
  std::vector<unsigned char> v(n);
  unsigned x = seed * 2654435761u + 1;
  for (auto& b : v) {
    x = x * 1103515245u + 12345u;
    b = static_cast<unsigned char>(x >> 16);
  }
  return v;
}

DialogDriver::DialogDriver(std::initializer_list<DialogStep> steps) : FSteps(steps) {
  ActiveDriver = this;
  FTimer = SetTimer(nullptr, 0, 50, &DialogDriver::Tick);
}

DialogDriver::~DialogDriver() {
  KillTimer(nullptr, FTimer);
  ActiveDriver = nullptr;
}

void CALLBACK DialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (ActiveDriver) ActiveDriver->Act();
}

void DialogDriver::Act() {
  if (Done()) return;
  FindDialog find;
  // A dialog that was just answered may still be on screen for a moment.
  find.Skip = FLast && IsWindow(FLast) ? FLast : nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialog::Enum, reinterpret_cast<LPARAM>(&find));
  HWND dlg = find.Found;
  if (!dlg) return;
  const DialogStep step = FSteps[FNext];
  HWND field = FileNameField(dlg);
  if (step.Action == DialogStep::Yes || step.Action == DialogStep::No) {
    HWND button = GetDlgItem(dlg, step.Action == DialogStep::Yes ? IDYES : IDNO);
    if (!button) return;  // not the confirmation yet
    Titles.push_back(WindowText(dlg));
    ++FNext;
    FLast = dlg;
    PostMessageW(button, BM_CLICK, 0, 0);
    return;
  }
  if (!field) return;  // not the file dialog yet
  Titles.push_back(WindowText(dlg));
  ShownNames.push_back(WindowText(field));
  if (step.Action == DialogStep::SaveAs) SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.FileName.c_str()));
  ++FNext;
  FLast = dlg;
  PostMessageW(GetDlgItem(dlg, step.Action == DialogStep::Cancel ? IDCANCEL : IDOK), BM_CLICK, 0, 0);
}

namespace {
int UnexpectedTicks = 0;

// A system dialog that no driver expects fails the test and is cancelled, instead of
// leaving the test waiting for a click.
void CALLBACK CancelUnexpectedDialog(HWND, UINT, UINT_PTR, DWORD) {
  FindDialog find;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialog::Enum, reinterpret_cast<LPARAM>(&find));
  if (!find.Found || ActiveDriver) {
    UnexpectedTicks = 0;
    return;
  }
  if (++UnexpectedTicks < 6) return;
  UnexpectedTicks = 0;
  ADD_FAILURE() << "unexpected dialog: " << fw::WideToUtf8(WindowText(find.Found));
  PostMessageW(find.Found, WM_COMMAND, IDCANCEL, 0);
}
}  // namespace

MainWindow::MainWindow() {
  FGuard = SetTimer(nullptr, 0, 500, &CancelUnexpectedDialog);
  app::RegisterAppClasses();
  Form = new app::TFormSealbox(fw::Application);
  Form->AfterConstruction();
  Form->Show();
  Pump();
}

MainWindow::~MainWindow() {
  KillTimer(nullptr, FGuard);
  delete Form;
  Pump();
}

std::vector<std::wstring> MainWindow::Log() const { return Form->MemoDest->Lines()->ToVector(); }

}  // namespace apptest
