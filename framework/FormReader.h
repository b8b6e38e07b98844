// Stored forms: the text form description parser and the reader that builds a form's
// components from it, sets their published properties and binds event handlers by name.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Classes.h"

namespace fw {

// One value of a stored property.
struct TFormValue {
  enum class Kind { Integer, Float, String, Ident, Set, List, Collection, Binary };
  struct Item;  // one "item ... end" of a collection

  Kind ValueKind = Kind::Integer;
  int64_t Int = 0;
  double Float = 0;
  std::wstring Str;                  // String
  std::string Ident;                 // Ident (also True/False, enumeration names, references)
  std::vector<std::string> SetMembers;
  std::vector<TFormValue> List;
  std::vector<Item> Items;
  std::vector<uint8_t> Bytes;
};

using TFormProps = std::vector<std::pair<std::string, TFormValue>>;

struct TFormValue::Item {
  TFormProps Props;
};

// One "object Name: TClass ... end" block.
struct TFormNode {
  std::string Name;
  std::string ClassName;
  int Line = 0;
  TFormProps Props;
  std::vector<TFormNode> Children;
};

// Parses a form description (UTF-8 text). Raises EReadError naming the line on bad input.
TFormNode ParseFormText(std::string_view text);

// Applies a parsed description to root (the form object itself, whose class must match the
// description's root class): sets its properties, creates every child component owned by root
// (classes found in the registry), sets their properties, resolves component references,
// binds handlers from root's published methods, then calls Loaded on every component.
void ReadComponentTree(TComponent* root, const TFormNode& node);

// Reads the RCDATA resource named resourceName from the program's module.
void ReadFormResource(TComponent* root, const std::wstring& resourceName);

// A component of root by name and class; raises EReadError if it is missing or of another class.
template <class T>
T* FindStored(TComponent* root, const std::wstring& name) {
  TComponent* c = root->FindComponent(name);
  T* t = dynamic_cast<T*>(c);
  if (!t) throw EReadError(L"窗体描述中缺少组件 " + name);
  return t;
}

}  // namespace fw
