// sbxcli as a user runs it: the real program in a child process, its output lines, error lines
// and exit codes, round trips through the engine, no overwriting without --overwrite.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "CryApi.h"
#include "SysUtils.h"
#include "TestUtil.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct TRun {
  DWORD Exit = 0xFFFFFFFF;
  std::wstring Out, Err;
  std::vector<std::wstring> OutLines() const {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t nl; (nl = Out.find(L'\n', start)) != std::wstring::npos; start = nl + 1)
      lines.push_back(Out.substr(start, nl - start));
    return lines;
  }
};

// Quotes one argument so that the child's CommandLineToArgvW gives it back unchanged.
std::wstring Quote(const std::wstring& a) {
  if (!a.empty() && a.find_first_of(L" \t\"") == std::wstring::npos) return a;
  std::wstring q = L"\"";
  size_t slashes = 0;
  for (wchar_t c : a) {
    if (c == L'\\') {
      ++slashes;
    } else {
      if (c == L'"') q.append(slashes + 1, L'\\');
      slashes = 0;
    }
    q += c;
  }
  q.append(slashes, L'\\');
  return q + L"\"";
}

std::wstring ProgramPath() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir = fw::ExtractFilePath(self);
  std::wstring rel = SBXCLI_RELATIVE_PATH;
  for (auto& c : rel)
    if (c == L'/') c = L'\\';
  return dir + rel;
}

class CliTest : public ::testing::Test {
protected:
  // Runs sbxcli with the arguments; its standard output and error go to files read afterwards.
  TRun Run(const std::vector<std::wstring>& args) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    const std::wstring outPath = Scratch.Path(L"stdout.txt"), errPath = Scratch.Path(L"stderr.txt");
    HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
    HANDLE in = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
    std::wstring cmd = Quote(ProgramPath());
    for (const auto& a : args) cmd += L" " + Quote(a);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    TRun r;
    // No CREATE_NO_WINDOW: Wine then gives the child a console of its own instead of our handles.
    const BOOL started = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                       &si, &pi);
    CloseHandle(out);
    CloseHandle(err);
    CloseHandle(in);
    EXPECT_TRUE(started) << "cannot start " << fw::WideToUtf8(cmd);
    if (!started) return r;
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    GetExitCodeProcess(pi.hProcess, &r.Exit);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    auto text = [](const std::wstring& p) {
      const auto b = ReadBytes(p);
      return fw::Utf8ToWide(std::string(b.begin(), b.end()));
    };
    r.Out = text(outPath);
    r.Err = text(errPath);
    return r;
  }

  TempDir Scratch, In, Out;
};

Bytes Pattern(size_t size, unsigned seed) {
  Bytes b(size);
  for (size_t i = 0; i < size; ++i) b[i] = static_cast<unsigned char>((i * 131 + seed * 7 + (i >> 9)) & 255);
  return b;
}

}  // namespace

TEST_F(CliTest, HelpAndUsageErrors) {
  TRun help = Run({L"--help"});
  EXPECT_EQ(help.Exit, 0u);
  EXPECT_NE(help.Out.find(L"sbxcli encrypt|decrypt --to"), std::wstring::npos);
  EXPECT_NE(help.Out.find(L"--overwrite"), std::wstring::npos);
  EXPECT_NE(help.Out.find(L"退出码"), std::wstring::npos);  // UTF-8 on a pipe reads back as Chinese
  EXPECT_EQ(Run({L"encrypt", L"-h"}).Exit, 0u);

  WriteBytes(In.Path(L"a.txt"), Pattern(10, 1));
  const std::vector<std::vector<std::wstring>> bad = {
      {},                                                          // no command
      {L"scramble", L"--to", Out.Path(), In.Path(L"a.txt")},       // unknown command
      {L"encrypt", In.Path(L"a.txt")},                             // no destination
      {L"encrypt", L"--to", Out.Path()},                           // no file
      {L"encrypt", L"--to"},                                       // --to without a folder
      {L"encrypt", L"--to", Out.Path(), L"--fast", In.Path(L"a.txt")},  // unknown option
      {L"encrypt", L"--to", Out.Path(), L"--to", Out.Path(), In.Path(L"a.txt")},
  };
  for (const auto& args : bad) {
    TRun r = Run(args);
    EXPECT_EQ(r.Exit, 2u) << r.Err.size();
    EXPECT_TRUE(r.Out.empty());
    EXPECT_NE(r.Err.find(L"用法"), std::wstring::npos);
  }
  EXPECT_EQ(GetFileAttributesW(Out.Path(L"a.txt.sbx").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CliTest, EncryptThenDecryptRestoresEveryFileAndPrintsEachOutputPath) {
  const Bytes big = Pattern(100001, 2), small = Pattern(5, 3);
  WriteBytes(In.Path(L"报告.doc"), big);
  WriteBytes(In.Path(L"x y.bin"), small);
  TRun enc = Run({L"encrypt", L"--to", Out.Path(), In.Path(L"报告.doc"), In.Path(L"x y.bin")});
  EXPECT_EQ(enc.Exit, 0u) << fw::WideToUtf8(enc.Err);
  EXPECT_TRUE(enc.Err.empty());
  EXPECT_EQ(enc.OutLines(), (std::vector<std::wstring>{Out.Path(L"报告.doc.sbx"), Out.Path(L"x y.bin.sbx")}));
  EXPECT_EQ(ReadBytes(Out.Path(L"报告.doc.sbx")).size(), big.size());
  EXPECT_NE(ReadBytes(Out.Path(L"报告.doc.sbx")), big);

  // The main window's engine settings read the program's files: the same format.
  crypto::TCryptoApi engine(nullptr);
  engine.SetSource(Out.Path(L"x y.bin.sbx"));
  engine.SetDestination(Scratch.Path(L"check.bin"));
  engine.SetPassword("470913");
  engine.SetMode(crypto::cmStream);
  ASSERT_TRUE(engine.DecryptFile());
  EXPECT_EQ(ReadBytes(Scratch.Path(L"check.bin")), small);

  TempDir back;
  TRun dec = Run({L"decrypt", L"--to=" + back.Path() + L"\\", Out.Path(L"报告.doc.sbx"), Out.Path(L"x y.bin.sbx")});
  EXPECT_EQ(dec.Exit, 0u) << fw::WideToUtf8(dec.Err);
  EXPECT_EQ(dec.OutLines(), (std::vector<std::wstring>{back.Path(L"报告.doc"), back.Path(L"x y.bin")}));
  EXPECT_EQ(ReadBytes(back.Path(L"报告.doc")), big);
  EXPECT_EQ(ReadBytes(back.Path(L"x y.bin")), small);
}

TEST_F(CliTest, ExistingOutputsAreKeptWithoutOverwriteAndReplacedWithIt) {
  const Bytes plain = Pattern(3000, 4), old = {'o', 'l', 'd'};
  WriteBytes(In.Path(L"a.txt"), plain);
  WriteBytes(In.Path(L"b.txt"), plain);
  WriteBytes(Out.Path(L"a.txt.sbx"), old);

  TRun r = Run({L"encrypt", L"--to", Out.Path(), In.Path(L"a.txt"), In.Path(L"b.txt")});
  EXPECT_EQ(r.Exit, 1u);
  EXPECT_EQ(r.OutLines(), (std::vector<std::wstring>{Out.Path(L"b.txt.sbx")}));  // the others go on
  EXPECT_NE(r.Err.find(Out.Path(L"a.txt.sbx")), std::wstring::npos);
  EXPECT_NE(r.Err.find(L"--overwrite"), std::wstring::npos);
  EXPECT_EQ(ReadBytes(Out.Path(L"a.txt.sbx")), old);

  r = Run({L"encrypt", L"--overwrite", L"--to", Out.Path(), In.Path(L"a.txt")});
  EXPECT_EQ(r.Exit, 0u) << fw::WideToUtf8(r.Err);
  EXPECT_EQ(ReadBytes(Out.Path(L"a.txt.sbx")), ReadBytes(Out.Path(L"b.txt.sbx")));  // same key, same plaintext
}

TEST_F(CliTest, PerFileFailuresGoToStderrAndTheRestSucceeds) {
  WriteBytes(In.Path(L"good.sbx"), Pattern(700, 5));
  WriteBytes(In.Path(L"abcd"), Pattern(7, 6));
  TRun r = Run({L"decrypt", L"--to", Out.Path(), In.Path(L"missing.sbx"), In.Path(L"abcd"), In.Path(L"good.sbx")});
  EXPECT_EQ(r.Exit, 1u);
  EXPECT_EQ(r.OutLines(), (std::vector<std::wstring>{Out.Path(L"good")}));
  EXPECT_NE(r.Err.find(L"missing.sbx"), std::wstring::npos);
  EXPECT_NE(r.Err.find(L"“abcd”"), std::wstring::npos);  // four characters: refused, not cut into the folder
  EXPECT_EQ(GetFileAttributesW(Out.Path(L"missing").c_str()), INVALID_FILE_ATTRIBUTES);

  // A destination folder that does not exist fails every file.
  r = Run({L"encrypt", L"--to", Out.Path(L"nowhere"), In.Path(L"good.sbx")});
  EXPECT_EQ(r.Exit, 1u);
  EXPECT_TRUE(r.Out.empty());
  EXPECT_NE(r.Err.find(Out.Path(L"nowhere")), std::wstring::npos);
}

TEST_F(CliTest, AnOutputThatIsTheSourceIsRefusedEvenWithOverwrite) {
  const Bytes plain = Pattern(5000, 7);
  WriteBytes(In.Path(L"data.bin"), plain);
  // The name the program would write is a second name of the source file.
  ASSERT_TRUE(CreateHardLinkW(In.Path(L"data.bin.sbx").c_str(), In.Path(L"data.bin").c_str(), nullptr));
  TRun r = Run({L"encrypt", L"--overwrite", L"--to", In.Path(), In.Path(L"data.bin")});
  EXPECT_EQ(r.Exit, 1u);
  EXPECT_TRUE(r.Out.empty());
  EXPECT_NE(r.Err.find(L"源文件"), std::wstring::npos);
  EXPECT_EQ(ReadBytes(In.Path(L"data.bin")), plain);
}

TEST_F(CliTest, ADevicePathDestinationKeepsItsOpeningBackslashes) {
  WriteBytes(In.Path(L"n.txt"), Pattern(10, 8));
  const std::wstring dest = L"\\\\?\\" + Out.Path();
  TRun r = Run({L"encrypt", L"--to", dest, In.Path(L"n.txt")});
  EXPECT_EQ(r.Exit, 0u) << fw::WideToUtf8(r.Err);
  EXPECT_EQ(r.OutLines(), (std::vector<std::wstring>{dest + L"\\n.txt.sbx"}));
  EXPECT_EQ(ReadBytes(Out.Path(L"n.txt.sbx")).size(), 10u);
}
