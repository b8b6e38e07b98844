// Text form descriptions: tokenizer, parser and the reader that applies them to components.
#include "FormReader.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>

namespace fw {

namespace {

[[noreturn]] void Fail(int line, const std::string& what) {
  throw EReadError(L"窗体描述第 " + std::to_wstring(line) + L" 行: " + Utf8ToWide(what));
}

bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

bool SameIdent(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// Recursive-descent parser over the UTF-8 text.
class TParser {
public:
  explicit TParser(std::string_view text) : FText(text) {}

  TFormNode ParseRoot() {
    SkipBlanks();
    TFormNode node = ParseObject();
    SkipBlanks();
    if (FPos < FText.size()) Fail(FLine, "描述结束后还有多余的内容");
    return node;
  }

private:
  std::string_view FText;
  size_t FPos = 0;
  int FLine = 1;

  char Peek() const { return FPos < FText.size() ? FText[FPos] : '\0'; }
  bool AtEnd() const { return FPos >= FText.size(); }

  void SkipBlanks() {
    while (!AtEnd()) {
      char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
        ++FPos;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++FPos;
      } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
        while (!AtEnd() && FText[FPos] != '\n') ++FPos;
      } else {
        break;
      }
    }
  }

  std::string Ident() {
    SkipBlanks();
    size_t start = FPos;
    while (!AtEnd() && IsIdentChar(FText[FPos])) ++FPos;
    if (start == FPos) Fail(FLine, std::string("此处应为名称, 却是 '") + Peek() + "'");
    return std::string(FText.substr(start, FPos - start));
  }

  void Expect(char c) {
    SkipBlanks();
    if (Peek() != c) Fail(FLine, std::string("此处应为 '") + c + "'");
    ++FPos;
  }

  bool PeekWord(const char* word) {
    SkipBlanks();
    size_t n = std::char_traits<char>::length(word);
    if (FText.size() - FPos < n) return false;
    if (!SameIdent(std::string(FText.substr(FPos, n)), word)) return false;
    return FPos + n == FText.size() || !IsIdentChar(FText[FPos + n]);
  }

  TFormNode ParseObject() {
    TFormNode node;
    node.Line = FLine;
    std::string kw = Ident();
    if (!SameIdent(kw, "object") && !SameIdent(kw, "inherited") && !SameIdent(kw, "inline"))
      Fail(FLine, "此处应为 object");
    std::string first = Ident();
    SkipBlanks();
    if (Peek() == ':') {
      ++FPos;
      node.Name = first;
      node.ClassName = Ident();
    } else {
      node.ClassName = first;
    }
    while (true) {
      if (PeekWord("end")) {
        Ident();
        return node;
      }
      if (PeekWord("object") || PeekWord("inherited") || PeekWord("inline")) {
        node.Children.push_back(ParseObject());
        continue;
      }
      if (AtEnd()) Fail(FLine, "缺少 end");
      std::string name = Ident();
      Expect('=');
      node.Props.emplace_back(name, ParseValue());
    }
  }

  // 'text''s' #13#10 'more' — quoted runs and character codes, joined with '+' across lines.
  std::wstring ParseStringExpr() {
    std::wstring out;
    while (true) {
      SkipBlanks();
      bool any = false;
      while (Peek() == '\'' || Peek() == '#') {
        any = true;
        if (Peek() == '#') {
          ++FPos;
          size_t start = FPos;
          while (!AtEnd() && std::isdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
          if (start == FPos) Fail(FLine, "# 后应为字符代码");
          unsigned long code = std::strtoul(std::string(FText.substr(start, FPos - start)).c_str(), nullptr, 10);
          if (code > 0xFFFF) Fail(FLine, "字符代码超出范围");
          out += static_cast<wchar_t>(code);
        } else {
          ++FPos;
          std::string run;
          while (true) {
            if (AtEnd() || Peek() == '\n') Fail(FLine, "字符串没有结束");
            char c = FText[FPos++];
            if (c == '\'') {
              if (Peek() == '\'') {
                run += '\'';
                ++FPos;
              } else {
                break;
              }
            } else {
              run += c;
            }
          }
          out += Utf8ToWide(run);
        }
      }
      if (!any) Fail(FLine, "此处应为字符串");
      SkipBlanks();
      if (Peek() != '+') return out;
      ++FPos;
    }
  }

  TFormValue ParseValue() {
    SkipBlanks();
    TFormValue v;
    char c = Peek();
    if (c == '\'' || c == '#') {
      v.ValueKind = TFormValue::Kind::String;
      v.Str = ParseStringExpr();
    } else if (c == '-' || c == '+' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
      ParseNumber(v);
    } else if (c == '[') {
      ++FPos;
      v.ValueKind = TFormValue::Kind::Set;
      SkipBlanks();
      while (Peek() != ']') {
        v.SetMembers.push_back(Ident());
        SkipBlanks();
        if (Peek() == ',') ++FPos;
        else if (Peek() != ']') Fail(FLine, "集合中应为 ',' 或 ']'");
        SkipBlanks();
      }
      ++FPos;
    } else if (c == '(') {
      ++FPos;
      v.ValueKind = TFormValue::Kind::List;
      SkipBlanks();
      while (Peek() != ')') {
        if (AtEnd()) Fail(FLine, "列表没有结束");
        v.List.push_back(ParseValue());
        SkipBlanks();
      }
      ++FPos;
    } else if (c == '<') {
      ++FPos;
      v.ValueKind = TFormValue::Kind::Collection;
      while (true) {
        SkipBlanks();
        if (Peek() == '>') {
          ++FPos;
          break;
        }
        if (!PeekWord("item")) Fail(FLine, "集合项应以 item 开始");
        Ident();
        TFormValue::Item item;
        while (!PeekWord("end")) {
          if (AtEnd()) Fail(FLine, "集合项缺少 end");
          std::string name = Ident();
          Expect('=');
          item.Props.emplace_back(name, ParseValue());
        }
        Ident();
        v.Items.push_back(std::move(item));
      }
    } else if (c == '{') {
      ++FPos;
      v.ValueKind = TFormValue::Kind::Binary;
      int hi = -1;
      while (true) {
        if (AtEnd()) Fail(FLine, "二进制数据没有结束");
        char h = FText[FPos++];
        if (h == '}') break;
        if (h == '\n') ++FLine;
        if (std::isspace(static_cast<unsigned char>(h))) continue;
        int d = std::isdigit(static_cast<unsigned char>(h)) ? h - '0'
                : (h >= 'A' && h <= 'F')                     ? h - 'A' + 10
                : (h >= 'a' && h <= 'f')                     ? h - 'a' + 10
                                                             : -1;
        if (d < 0) Fail(FLine, "二进制数据中有非十六进制字符");
        if (hi < 0) {
          hi = d;
        } else {
          v.Bytes.push_back(static_cast<uint8_t>(hi * 16 + d));
          hi = -1;
        }
      }
      if (hi >= 0) Fail(FLine, "二进制数据的位数不是偶数");
    } else {
      v.ValueKind = TFormValue::Kind::Ident;
      v.Ident = Ident();
    }
    return v;
  }

  void ParseNumber(TFormValue& v) {
    size_t start = FPos;
    bool negative = false;
    if (Peek() == '-' || Peek() == '+') negative = FText[FPos++] == '-';
    if (Peek() == '$') {
      ++FPos;
      size_t digits = FPos;
      while (!AtEnd() && std::isxdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
      if (digits == FPos) Fail(FLine, "$ 后应为十六进制数");
      v.ValueKind = TFormValue::Kind::Integer;
      v.Int = static_cast<int64_t>(std::strtoull(std::string(FText.substr(digits, FPos - digits)).c_str(), nullptr, 16));
      if (negative) v.Int = -v.Int;
      return;
    }
    while (!AtEnd() && (std::isdigit(static_cast<unsigned char>(FText[FPos])) || FText[FPos] == '.' ||
                        FText[FPos] == 'e' || FText[FPos] == 'E'))
      ++FPos;
    std::string num(FText.substr(start, FPos - start));
    if (num.find_first_of(".eE") != std::string::npos) {
      v.ValueKind = TFormValue::Kind::Float;
      v.Float = std::strtod(num.c_str(), nullptr);
    } else {
      v.ValueKind = TFormValue::Kind::Integer;
      v.Int = std::strtoll(num.c_str(), nullptr, 10);
    }
  }
};

// Applies descriptions to objects; references to other components wait until all exist.
class TReader {
public:
  explicit TReader(TComponent* root) : FRoot(root) {}

  void Read(const TFormNode& node) {
    if (!node.ClassName.empty() && !SameIdent(node.ClassName, FRoot->ClassName()))
      Fail(node.Line, "窗体类 " + node.ClassName + " 与 " + FRoot->ClassName() + " 不符");
    FRoot->BeginLoading();
    if (!node.Name.empty()) FRoot->SetName(Utf8ToWide(node.Name));
    ApplyProps(FRoot, node.Props, node.Line);
    ReadChildren(FRoot, node);
    for (auto& fix : FFixups) fix();
    for (TComponent* c : FLoaded) c->Loaded();
    FRoot->Loaded();
  }

private:
  TComponent* FRoot;
  std::vector<TComponent*> FLoaded;
  std::vector<std::function<void()>> FFixups;

  void ReadChildren(TComponent* parent, const TFormNode& node) {
    for (const TFormNode& child : node.Children) {
      const TClassInfo* cls = FindClass(child.ClassName);
      if (!cls || !cls->Create) Fail(child.Line, "未注册的类 " + child.ClassName);
      TComponent* c = cls->Create(FRoot);
      c->BeginLoading();
      FLoaded.push_back(c);
      c->SetName(Utf8ToWide(child.Name));
      c->SetParentComponent(parent);
      ApplyProps(c, child.Props, child.Line);
      ReadChildren(c, child);
    }
  }

  void ApplyProps(TObject* obj, const TFormProps& props, int line) {
    for (const auto& [name, value] : props) ApplyProp(obj, name, value, line);
  }

  void ApplyProp(TObject* obj, const std::string& dotted, const TFormValue& v, int line) {
    // Walk "Font.Name" through the owned persistent objects.
    TObject* target = obj;
    std::string rest = dotted;
    for (size_t dot; (dot = rest.find('.')) != std::string::npos;) {
      std::string head = rest.substr(0, dot);
      const TPropInfo* p = target->ClassInfo().FindProp(head);
      if (!p || p->Kind != TPropKind::Object || !p->Get) Fail(line, std::string(target->ClassName()) + " 没有对象属性 " + head);
      TPropValue sub = p->Get(target);
      TObject* const* next = std::get_if<TObject*>(&sub);
      if (!next || !*next) Fail(line, "属性 " + head + " 为空");
      target = *next;
      rest = rest.substr(dot + 1);
    }
    const TPropInfo* p = target->ClassInfo().FindProp(rest);
    if (!p) Fail(line, std::string(target->ClassName()) + " 没有属性 " + rest);
    if (!p->Set && p->Kind != TPropKind::Object) Fail(line, "属性 " + rest + " 是只读的");
    using K = TFormValue::Kind;
    auto wrong = [&] { Fail(line, "属性 " + rest + " 的值类型不对"); };
    switch (p->Kind) {
      case TPropKind::Integer:
        // An identifier ("clBtnFace", "GB2312_CHARSET") goes to the setter as text.
        if (v.ValueKind == K::Ident) p->Set(target, Utf8ToWide(v.Ident));
        else if (v.ValueKind == K::Integer) p->Set(target, v.Int);
        else wrong();
        break;
      case TPropKind::Boolean:
        if (v.ValueKind != K::Ident) wrong();
        if (SameIdent(v.Ident, "True")) p->Set(target, true);
        else if (SameIdent(v.Ident, "False")) p->Set(target, false);
        else wrong();
        break;
      case TPropKind::String:
        if (v.ValueKind == K::String) p->Set(target, v.Str);
        else if (v.ValueKind == K::Ident) p->Set(target, Utf8ToWide(v.Ident));
        else wrong();
        break;
      case TPropKind::Enumeration:
        if (v.ValueKind == K::Integer) {
          p->Set(target, v.Int);
        } else if (v.ValueKind == K::Ident) {
          p->Set(target, int64_t(EnumIndex(*p, v.Ident, line)));
        } else {
          wrong();
        }
        break;
      case TPropKind::Set: {
        if (v.ValueKind != K::Set) wrong();
        int64_t mask = 0;
        for (const std::string& m : v.SetMembers) mask |= int64_t(1) << EnumIndex(*p, m, line);
        p->Set(target, mask);
        break;
      }
      case TPropKind::Data:
        if (v.ValueKind != K::Binary) wrong();
        p->Set(target, v.Bytes);
        break;
      case TPropKind::Strings: {
        if (v.ValueKind != K::List) wrong();
        std::vector<std::wstring> lines;
        for (const TFormValue& e : v.List) {
          if (e.ValueKind != K::String) wrong();
          lines.push_back(e.Str);
        }
        p->Set(target, lines);
        break;
      }
      case TPropKind::Integers: {
        if (v.ValueKind != K::List) wrong();
        std::vector<int64_t> numbers;
        for (const TFormValue& e : v.List) {
          if (e.ValueKind != K::Integer) wrong();
          numbers.push_back(e.Int);
        }
        p->Set(target, numbers);
        break;
      }
      case TPropKind::Method: {
        if (v.ValueKind != K::Ident) wrong();
        void* code = FRoot->ClassInfo().FindMethod(v.Ident);
        if (!code) Fail(line, std::string(FRoot->ClassName()) + " 没有事件处理程序 " + v.Ident);
        p->Set(target, TMethodRef{FRoot, code});
        break;
      }
      case TPropKind::Object:
        if (v.ValueKind == K::Collection) {
          TPropValue cur = p->Get ? p->Get(target) : TPropValue{};
          TObject* const* o = std::get_if<TObject*>(&cur);
          auto* coll = o ? dynamic_cast<TCollection*>(*o) : nullptr;
          if (!coll) Fail(line, "属性 " + rest + " 不是集合");
          coll->ClearItems();
          for (const TFormValue::Item& item : v.Items) ApplyProps(coll->AddItem(), item.Props, line);
        } else if (v.ValueKind == K::Ident) {
          if (!p->Set) Fail(line, "属性 " + rest + " 是只读的");
          std::string ref = v.Ident;
          const TPropInfo* prop = p;
          FFixups.push_back([this, target, prop, ref, line] {
            TComponent* c = SameIdent(ref, "nil") ? nullptr : FRoot->FindComponent(Utf8ToWide(ref));
            if (!c && !SameIdent(ref, "nil")) Fail(line, "找不到组件 " + ref);
            prop->Set(target, static_cast<TObject*>(c));
          });
        } else {
          wrong();
        }
        break;
    }
  }

  static int EnumIndex(const TPropInfo& p, const std::string& name, int line) {
    for (size_t i = 0; i < p.EnumNames.size(); ++i)
      if (SameIdent(p.EnumNames[i], name)) return static_cast<int>(i);
    Fail(line, "属性 " + p.Name + " 没有取值 " + name);
  }
};

}  // namespace

TFormNode ParseFormText(std::string_view text) {
  if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF && static_cast<unsigned char>(text[1]) == 0xBB &&
      static_cast<unsigned char>(text[2]) == 0xBF)
    text.remove_prefix(3);
  return TParser(text).ParseRoot();
}

void ReadComponentTree(TComponent* root, const TFormNode& node) { TReader(root).Read(node); }

void ReadFormResource(TComponent* root, const std::wstring& resourceName) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, resourceName.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!res) throw EReadError(L"找不到窗体资源 " + resourceName);
  HGLOBAL data = LoadResource(module, res);
  const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
  if (!bytes) throw EReadError(L"无法载入窗体资源 " + resourceName);
  ReadComponentTree(root, ParseFormText(std::string_view(bytes, SizeofResource(module, res))));
}

}  // namespace fw
