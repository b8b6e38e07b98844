// Object model of the framework: TObject with class identity, the class registry,
// published-property tables, method-reference events, TPersistent and TComponent.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include <windows.h>

#include "SysUtils.h"

// The system header maps RegisterClass to RegisterClassA/W; the framework's class registry
// below keeps its own name in every unit, whatever the order of includes.
#undef RegisterClass

namespace fw {

class TObject;
class TComponent;

// ---------------------------------------------------------------------------
// Method references: an object and a code address, copyable and comparable.
// ---------------------------------------------------------------------------

// Untyped form, as stored in property tables and bound by name from stored forms.
struct TMethodRef {
  void* Data = nullptr;
  void* Code = nullptr;
  bool operator==(const TMethodRef&) const = default;
};

// Calls member function Mem on the object behind Data; one instance per member,
// so its address identifies the method.
template <auto Mem>
struct MemberThunk;
template <class T, class R, class... A, R (T::*Mem)(A...)>
struct MemberThunk<Mem> {
  static R Call(void* data, A... args) { return (static_cast<T*>(data)->*Mem)(std::forward<A>(args)...); }
};

template <class Sig>
class TMethod;

// Typed method reference for an event or a replaceable window procedure.
template <class R, class... A>
class TMethod<R(A...)> {
public:
  using CodePtr = R (*)(void*, A...);
  TMethod() = default;
  TMethod(void* data, CodePtr code) : FData(data), FCode(code) {}
  explicit TMethod(const TMethodRef& r) : FData(r.Data), FCode(reinterpret_cast<CodePtr>(r.Code)) {}

  // Binds member function Mem of obj: fw::TMethod<void(TObject*)>::Of<&TForm1::Click>(this).
  template <auto Mem, class T>
  static TMethod Of(T* obj) {
    return TMethod(static_cast<void*>(obj), &MemberThunk<Mem>::Call);
  }

  bool Assigned() const { return FCode != nullptr; }
  explicit operator bool() const { return Assigned(); }
  R operator()(A... args) const { return FCode(FData, std::forward<A>(args)...); }
  bool operator==(const TMethod& o) const { return FData == o.FData && FCode == o.FCode; }
  TMethodRef Ref() const { return {FData, reinterpret_cast<void*>(FCode)}; }
  void* Data() const { return FData; }
  void Clear() { FData = nullptr; FCode = nullptr; }

private:
  void* FData = nullptr;
  CodePtr FCode = nullptr;
};

template <class M>
bool Assigned(const M& m) {
  return m.Assigned();
}

using TNotifyEvent = TMethod<void(TObject*)>;

// ---------------------------------------------------------------------------
// Published properties
// ---------------------------------------------------------------------------

// Object: a component reference (set by name) or an owned persistent whose own properties
// are set through a dotted name ("Font.Name"). Strings: a list of texts. Integers: a list of
// numbers (a stored "( 48 357 )" list).
enum class TPropKind { Integer, Enumeration, Set, String, Boolean, Object, Method, Data, Strings, Integers };

// A property value as read from a stored form or through the property table.
// Integer, enumeration (ordinal) and set (bit mask) values use the integer alternative.
// String lists (a stored "( 'a' 'b' )" list) use the vector of strings, integer lists the
// vector of integers.
using TPropValue = std::variant<std::monostate, int64_t, std::wstring, bool, TObject*, TMethodRef, std::vector<uint8_t>,
                                std::vector<std::wstring>, std::vector<int64_t>>;

struct TPropInfo {
  std::string Name;
  TPropKind Kind;
  std::function<TPropValue(TObject*)> Get;          // empty: write-only
  std::function<void(TObject*, const TPropValue&)> Set;  // empty: read-only
  std::vector<std::string> EnumNames = {};              // enumeration and set members, in ordinal order
};

// Identity and published interface of one class.
struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
  std::function<TComponent*(TComponent* owner)> Create;  // empty when not creatable by name
  std::vector<TPropInfo> Props;                          // own published properties only
  // Published methods (event handlers bound by name), own only.
  std::map<std::string, void*> Methods;

  bool InheritsFrom(const TClassInfo* other) const;
  const TPropInfo* FindProp(const std::string& name) const;  // searches ancestors, case-insensitive
  void* FindMethod(const std::string& name) const;           // searches ancestors
};

// Global registry used by the form reader: class name -> class info.
void RegisterClass(const TClassInfo* info);
const TClassInfo* FindClass(const std::string& name);

// Value conversions used by property accessors.
int64_t PropInt(const TPropValue& v);
std::wstring PropStr(const TPropValue& v);
bool PropBool(const TPropValue& v);

class TObject {
public:
  virtual ~TObject() = default;
  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  const char* ClassName() const { return ClassInfo().Name; }
  bool InheritsFrom(const TClassInfo& c) const { return ClassInfo().InheritsFrom(&c); }
};

// Declares the class-info accessors; define the info in the .cpp (FW_DEFINE_CLASS where the
// class publishes nothing of its own).
#define FW_DECLARE_CLASS()                                              \
 public:                                                                \
  static const ::fw::TClassInfo& StaticClassInfo();                     \
  const ::fw::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

// Factory of a class the form reader creates by name: new C(owner).
template <class C>
TComponent* NewComponent(TComponent* owner) {
  return new C(owner);
}

// Defines the class info of class C (derived from Parent) that publishes nothing of its own
// and is not created by name.
#define FW_DEFINE_CLASS(C, Parent)                                                    \
  const ::fw::TClassInfo& C::StaticClassInfo() {                                      \
    static const ::fw::TClassInfo info{#C, &Parent::StaticClassInfo(), {}, {}, {}};   \
    return info;                                                                      \
  }

// The same for a class that the form reader creates by name.
#define FW_DEFINE_CREATABLE_CLASS(C, Parent)                                                           \
  const ::fw::TClassInfo& C::StaticClassInfo() {                                                       \
    static const ::fw::TClassInfo info{#C, &Parent::StaticClassInfo(), &::fw::NewComponent<C>, {}, {}}; \
    return info;                                                                                       \
  }

// Helpers to write property tables tersely.
template <class T>
T* As(TObject* o) {
  return static_cast<T*>(o);
}

class TPersistent : public TObject {
  FW_DECLARE_CLASS()
};

// Publishes member function M of class C as an event handler that stored forms bind by name.
#define FW_PUBLISHED_METHOD(C, M) \
  { #M, reinterpret_cast<void*>(&::fw::MemberThunk<&C::M>::Call) }

// A stored collection ("Panels = < item ... end >"): the reader clears it, then adds one
// item per entry and sets the item's properties.
class TCollection : public TPersistent {
  FW_DECLARE_CLASS()
public:
  virtual TPersistent* AddItem() = 0;
  virtual void ClearItems() = 0;
};

// Operations of TComponent::Notification.
enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
  csLoading = 1, csReading = 2, csWriting = 4, csDestroying = 8, csDesigning = 16, csFreeNotification = 32
};

class TComponent : public TPersistent {
  FW_DECLARE_CLASS()
public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int i) const { return FComponents.at(static_cast<size_t>(i)); }
  TComponent* FindComponent(const std::wstring& name) const;

  const std::wstring& Name() const { return FName; }
  virtual void SetName(const std::wstring& name);
  intptr_t Tag = 0;

  unsigned ComponentState() const { return FState; }
  bool IsLoading() const { return FState & csLoading; }
  bool IsDesigning() const { return FState & csDesigning; }
  bool IsDestroying() const { return FState & csDestroying; }
  void SetDesigning(bool on) { on ? FState |= csDesigning : FState &= ~csDesigning; }

  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);
  // Asks c to tell this component (through Notification) when it is destroyed.
  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c);

  // Stored-form life cycle: the reader calls BeginLoading before properties are set
  // and Loaded after the whole form has been read.
  void BeginLoading() { FState |= csLoading | csReading; }
  virtual void Loaded() { FState &= ~(csLoading | csReading); }

  // Stored forms: the component that encloses this one in the description. Controls
  // take it as their parent window; other components ignore it.
  virtual void SetParentComponent(TComponent*) {}

  // Destroys the component's owned components first (as destruction does).
  void DestroyComponents();

protected:
  virtual void Notification(TComponent* component, TOperation operation);
  void SetDestroying() { FState |= csDestroying; }

private:
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  std::wstring FName;
  unsigned FState = 0;
};

}  // namespace fw
