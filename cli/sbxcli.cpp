// sbxcli: the command-line batch program. Encrypts or decrypts files into a folder with the same
// engine, key, mode and naming rules as the main window:
//   sbxcli encrypt|decrypt --to DIR [--overwrite] FILE...
// Prints each output path on its own line, per-file errors on stderr; exits 0 when every file
// succeeded, 1 when some failed, 2 on a usage error.
#include <windows.h>

#include <string>
#include <vector>

#include "BatchNames.h"
#include "CryApi.h"
#include "MsgBox.h"
#include "SysUtils.h"

namespace {

// The built-in operation key of the program: every file is in the derived-key form.
const char kOperationKey[] = "470913";

enum TExit { exOk = 0, exSomeFailed = 1, exUsage = 2 };

const wchar_t kHelp[] =
    L"用法: sbxcli encrypt|decrypt --to 文件夹 [--overwrite] 文件...\n"
    L"\n"
    L"用与 sbx 文件加密工具主窗口相同的内置密钥、算法（CryptoAPI, RC4 流模式）和命名规则，\n"
    L"逐个加密或解密文件，结果写入 --to 指定的文件夹。\n"
    L"\n"
    L"  encrypt        加密: 结果为 文件夹\\文件名.sbx\n"
    L"  decrypt        解密: 结果为 文件夹\\文件名去掉最后四个字符（如 报告.doc.sbx -> 报告.doc）；\n"
    L"                 文件名不超过四个字符的文件被跳过\n"
    L"  --to 文件夹     结果所在的文件夹，必须已经存在；也可写成 --to=文件夹\n"
    L"  --overwrite    允许覆盖已经存在的结果文件（没有此选项时已存在的文件不被覆盖，该文件算失败）\n"
    L"  --help, -h     显示本说明\n"
    L"  --             其后的参数都是文件名\n"
    L"\n"
    L"每成功处理一个文件，在标准输出打印一行结果文件的路径；每个文件的错误写到标准错误。\n"
    L"结果文件就是源文件本身时，该文件被跳过，源文件不受影响。\n"
    L"\n"
    L"退出码: 0 全部成功；1 有文件失败；2 用法错误。\n"
    L"\n"
    L"加密能保护什么:\n"
    L"  只能防止别人随手打开就看到内容，是一种混淆，不能防备有心破解的人。\n"
    L"  - 有本程序的人都能解密: 密钥内置在程序里，每一份程序都相同，\n"
    L"    任何一份本程序都能解密任何 .sbx 文件。\n"
    L"  - 所有文件用同一条密钥流: 没有盐值，也没有每个文件自己的密钥，所有文件都用同一条\n"
    L"    RC4 密钥流加密。把两个加密文件放在一起，不用密钥就能得到两个原文的异或；\n"
    L"    知道或猜到其中一个文件的某一部分，就能读出另一个文件的同一部分。\n"
    L"  - 不检查结果: 没有完整性校验。不是本程序加密的文件（或被解密两次的文件）解密后是\n"
    L"    一堆乱码，损坏的文件解密后损坏处是错的，程序都照样报告成功并写出结果。\n"
    L"    改动加密文件的某些位，解密结果的同样那些位就跟着改变，无从察觉。\n"
    L"  - 加密后的文件和原文件一样长。\n"
    L"  需要真正保密的文件，请使用由您自己设定密码并校验解密结果的加密工具。\n";

// Writes text to a standard handle: through the console's wide call on a console, else as UTF-8.
void Write(DWORD which, const std::wstring& text) {
  HANDLE h = GetStdHandle(which);
  if (h == nullptr || h == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD mode = 0, done = 0;
  if (GetConsoleMode(h, &mode)) {
    WriteConsoleW(h, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    return;
  }
  const std::string bytes = fw::WideToUtf8(text);
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
}

void Out(const std::wstring& line) { Write(STD_OUTPUT_HANDLE, line + L"\n"); }
void Err(const std::wstring& line) { Write(STD_ERROR_HANDLE, L"sbxcli: " + line + L"\n"); }

int Usage(const std::wstring& problem) {
  Err(problem);
  Write(STD_ERROR_HANDLE, L"用法: sbxcli encrypt|decrypt --to 文件夹 [--overwrite] 文件...  （sbxcli --help 查看说明）\n");
  return exUsage;
}

struct TOptions {
  bool Encrypt = true;
  std::wstring Dest;
  bool HaveDest = false;
  bool Overwrite = false;
  std::vector<std::wstring> Files;
};

// Runs one file through the engine; returns whether it succeeded, reporting why not on stderr.
bool ProcessFile(crypto::TCryptoApi& engine, const TOptions& o, const std::wstring& src, std::wstring& engineMessage) {
  const batch::TOutputName name = o.Encrypt ? batch::EncryptedName(o.Dest, src) : batch::DecryptedName(o.Dest, src);
  if (!name.Ok) {
    Err(src + L"：" + name.Reason);
    return false;
  }
  const std::wstring& out = name.Path;
  if (batch::IsSameFile(src, out)) {
    Err(batch::SameFileReason(src));
    return false;
  }
  if (!o.Overwrite && GetFileAttributesW(out.c_str()) != INVALID_FILE_ATTRIBUTES) {
    Err(L"结果文件“" + out + L"”已经存在，未覆盖（加 --overwrite 才覆盖）。源文件: " + src);
    return false;
  }
  engine.SetSource(src);
  engine.SetDestination(out);
  engine.SetPassword(kOperationKey);
  engine.SetMode(crypto::cmStream);
  engineMessage.clear();
  try {
    if (!(o.Encrypt ? engine.EncryptFile() : engine.DecryptFile())) {
      Err(src + L"：" + (engineMessage.empty() ? L"处理失败" : engineMessage));
      return false;
    }
  } catch (const fw::Exception& e) {
    Err(e.Message());
    return false;
  }
  Out(out);
  return true;
}

int Run(int argc, wchar_t** argv) {
  if (argc < 2) return Usage(L"缺少命令 encrypt 或 decrypt。");
  for (int i = 1; i < argc; ++i) {
    const std::wstring a = argv[i];
    if (a == L"--") break;
    if (a == L"--help" || a == L"-h" || a == L"/?") {
      Write(STD_OUTPUT_HANDLE, kHelp);
      return exOk;
    }
  }

  TOptions o;
  const std::wstring command = argv[1];
  if (command == L"encrypt")
    o.Encrypt = true;
  else if (command == L"decrypt")
    o.Encrypt = false;
  else
    return Usage(L"未知命令“" + command + L"”，应为 encrypt 或 decrypt。");

  bool optionsEnded = false;
  for (int i = 2; i < argc; ++i) {
    const std::wstring a = argv[i];
    if (optionsEnded || a.size() < 2 || a[0] != L'-') {
      o.Files.push_back(a);
    } else if (a == L"--") {
      optionsEnded = true;
    } else if (a == L"--overwrite") {
      o.Overwrite = true;
    } else if (a == L"--to" || a.rfind(L"--to=", 0) == 0) {
      if (o.HaveDest) return Usage(L"--to 只能给一次。");
      if (a == L"--to") {
        if (i + 1 >= argc) return Usage(L"--to 后面缺少文件夹。");
        o.Dest = argv[++i];
      } else {
        o.Dest = a.substr(5);
      }
      o.HaveDest = true;
    } else {
      return Usage(L"未知选项“" + a + L"”。");
    }
  }
  o.Dest = fw::Trim(o.Dest);
  if (!o.HaveDest) return Usage(L"缺少 --to 文件夹。");
  if (o.Dest.empty()) return Usage(L"--to 的文件夹为空。");
  if (o.Files.empty()) return Usage(L"没有给出要处理的文件。");
  if (!fw::DirectoryExists(o.Dest)) {
    Err(L"目标文件夹“" + o.Dest + L"”不存在。");
    return exSomeFailed;
  }

  // The engine reports provider failures in message boxes; here they become error lines.
  std::wstring engineMessage;
  fw::SetMessageBoxHook([&engineMessage](const fw::TMessageBoxRequest& r) {
    engineMessage = r.Text;
    return IDOK;
  });
  crypto::TCryptoApi engine(nullptr);
  int failed = 0;
  for (const std::wstring& src : o.Files)
    if (!ProcessFile(engine, o, src, engineMessage)) ++failed;
  fw::SetMessageBoxHook(nullptr);
  return failed ? exSomeFailed : exOk;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    Err(fw::Utf8ToWide(e.what()));
    return exSomeFailed;
  }
}
