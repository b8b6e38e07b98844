// Published properties read and written as text through the class's property table.
#include "TypInfo.h"

#include <cwchar>
#include <cwctype>

namespace fw {

namespace {

const std::vector<std::string> kBooleanNames{"False", "True"};

bool SameIdent(const std::string& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(static_cast<wchar_t>(static_cast<unsigned char>(a[i]))) != std::towlower(b[i])) return false;
  return true;
}

// The readable property of that name.
const TPropInfo* Readable(TObject* obj, const std::string& name) {
  const TPropInfo* p = FindPublishedProp(obj, name);
  return p && p->Get ? p : nullptr;
}

}  // namespace

const TPropInfo* FindPublishedProp(const TObject* obj, const std::string& name) {
  return obj ? obj->ClassInfo().FindProp(name) : nullptr;
}

std::vector<std::string> PropValueNames(const TPropInfo& prop) {
  if (prop.Kind == TPropKind::Boolean) return kBooleanNames;
  if (prop.Kind == TPropKind::Enumeration) return prop.EnumNames;
  return {};
}

std::optional<int64_t> GetIntProp(TObject* obj, const std::string& name) {
  const TPropInfo* p = Readable(obj, name);
  if (!p || p->Kind != TPropKind::Integer) return std::nullopt;
  const TPropValue v = p->Get(obj);
  if (auto i = std::get_if<int64_t>(&v)) return *i;
  return std::nullopt;
}

std::string GetEnumProp(TObject* obj, const std::string& name) {
  const TPropInfo* p = Readable(obj, name);
  if (!p || (p->Kind != TPropKind::Enumeration && p->Kind != TPropKind::Boolean)) return {};
  const TPropValue v = p->Get(obj);
  int64_t ordinal = -1;
  if (auto b = std::get_if<bool>(&v)) ordinal = *b ? 1 : 0;
  else if (auto i = std::get_if<int64_t>(&v)) ordinal = *i;
  const std::vector<std::string> names = PropValueNames(*p);
  if (ordinal < 0 || ordinal >= static_cast<int64_t>(names.size())) return {};
  return names[static_cast<size_t>(ordinal)];
}

std::wstring GetPropText(TObject* obj, const std::string& name) {
  const TPropInfo* p = Readable(obj, name);
  if (!p) return {};
  switch (p->Kind) {
    case TPropKind::Integer:
      if (auto i = GetIntProp(obj, name)) return std::to_wstring(*i);
      return {};
    case TPropKind::Enumeration:
    case TPropKind::Boolean:
      return Utf8ToWide(GetEnumProp(obj, name));
    case TPropKind::String: {
      const TPropValue v = p->Get(obj);
      if (auto s = std::get_if<std::wstring>(&v)) return *s;
      return {};
    }
    case TPropKind::Set: {
      const TPropValue v = p->Get(obj);
      const auto* bits = std::get_if<int64_t>(&v);
      if (!bits) return {};
      std::wstring text = L"[";
      for (size_t i = 0; i < p->EnumNames.size() && i < 64; ++i) {
        if (!(static_cast<uint64_t>(*bits) >> i & 1)) continue;
        if (text.size() > 1) text += L',';
        text += Utf8ToWide(p->EnumNames[i]);
      }
      return text + L"]";
    }
    default:
      return {};
  }
}

TObject* GetObjectProp(TObject* obj, const std::string& name) {
  const TPropInfo* p = Readable(obj, name);
  if (!p || p->Kind != TPropKind::Object) return nullptr;
  const TPropValue v = p->Get(obj);
  auto o = std::get_if<TObject*>(&v);
  return o ? *o : nullptr;
}

bool SetPropText(TObject* obj, const std::string& name, const std::wstring& text) {
  const TPropInfo* p = FindPublishedProp(obj, name);
  if (!p || !p->Set) return false;
  switch (p->Kind) {
    case TPropKind::Integer: {
      wchar_t* end = nullptr;
      const long long n = std::wcstoll(text.c_str(), &end, 0);
      if (!text.empty() && end && *end == L'\0') {
        p->Set(obj, int64_t(n));
        return true;
      }
      // A named constant ("clBtnFace") goes to the setter, which refuses what it does not know.
      try {
        p->Set(obj, text);
      } catch (const EPropertyError&) {
        return false;
      }
      return true;
    }
    case TPropKind::Enumeration:
    case TPropKind::Boolean: {
      const std::vector<std::string> names = PropValueNames(*p);
      for (size_t i = 0; i < names.size(); ++i) {
        if (!SameIdent(names[i], text)) continue;
        if (p->Kind == TPropKind::Boolean) p->Set(obj, i == 1);
        else p->Set(obj, int64_t(i));
        return true;
      }
      return false;
    }
    case TPropKind::String:
      p->Set(obj, text);
      return true;
    default:
      return false;
  }
}

}  // namespace fw
