// Terse builders for published property tables of the control units: a property from a
// getter/setter pair of member functions or from a public data member, converted by the
// value type of the accessors.
#pragma once
#include <string>
#include <type_traits>
#include <vector>

#include "Classes.h"

namespace fw::props {

template <class V>
TPropValue ToValue(const V& v) {
  if constexpr (std::is_same_v<V, std::wstring>) return v;
  else if constexpr (std::is_same_v<V, bool>) return v;
  else return static_cast<int64_t>(v);
}

template <class V>
V FromValue(const TPropValue& v) {
  if constexpr (std::is_same_v<V, std::wstring>) return PropStr(v);
  else if constexpr (std::is_same_v<V, bool>) return PropBool(v);
  else return static_cast<V>(PropInt(v));
}

// Integer, string, boolean or enumeration property (names given for enumerations and sets).
template <class C, class G, class A>
TPropInfo Prop(const char* name, TPropKind kind, G (C::*get)() const, void (C::*set)(A),
               std::vector<std::string> names = {}) {
  using V = std::remove_cvref_t<A>;
  return {name, kind, [get](TObject* o) -> TPropValue { return ToValue<std::remove_cvref_t<G>>((As<C>(o)->*get)()); },
          [set](TObject* o, const TPropValue& v) { (As<C>(o)->*set)(FromValue<V>(v)); }, std::move(names)};
}

// Class and value type of a data member pointer.
template <auto Member>
struct MemberOf;
template <class C, class V, V C::*Member>
struct MemberOf<Member> {
  using Class = C;
  using Value = V;
};

// A public data member published as an integer, string, boolean, enumeration or set property.
template <auto Member>
TPropInfo Field(const char* name, TPropKind kind, std::vector<std::string> names = {}) {
  using C = typename MemberOf<Member>::Class;
  using V = typename MemberOf<Member>::Value;
  return {name, kind, [](TObject* o) -> TPropValue { return ToValue<V>(As<C>(o)->*Member); },
          [](TObject* o, const TPropValue& v) { As<C>(o)->*Member = FromValue<V>(v); }, std::move(names)};
}

// An owned sub-object reached through a dotted name ("EditLabel.Caption", "Items.Strings").
template <class C, class S>
TPropInfo SubObject(const char* name, S* (C::*get)() const) {
  return {name, TPropKind::Object,
          [get](TObject* o) -> TPropValue { return static_cast<TObject*>((As<C>(o)->*get)()); }, nullptr, {}};
}

}  // namespace fw::props
