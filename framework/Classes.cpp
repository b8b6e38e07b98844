// Object model: class registry, property lookup, TComponent ownership and free notification.
#include "Classes.h"

#include <algorithm>

namespace fw {

namespace {
bool SameAscii(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}
std::map<std::string, const TClassInfo*>& Registry() {
  static std::map<std::string, const TClassInfo*> r;
  return r;
}
}  // namespace

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (c == other) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProp(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    for (const TPropInfo& p : c->Props)
      if (SameAscii(p.Name, name)) return &p;
  return nullptr;
}

void* TClassInfo::FindMethod(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->Parent) {
    auto it = c->Methods.find(name);
    if (it != c->Methods.end()) return it->second;
  }
  return nullptr;
}

void RegisterClass(const TClassInfo* info) { Registry()[info->Name] = info; }

const TClassInfo* FindClass(const std::string& name) {
  auto it = Registry().find(name);
  return it == Registry().end() ? nullptr : it->second;
}

int64_t PropInt(const TPropValue& v) {
  if (auto p = std::get_if<int64_t>(&v)) return *p;
  if (auto b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  throw EPropertyError(L"属性值不是整数");
}

std::wstring PropStr(const TPropValue& v) {
  if (auto p = std::get_if<std::wstring>(&v)) return *p;
  if (auto i = std::get_if<int64_t>(&v)) return std::to_wstring(*i);
  throw EPropertyError(L"属性值不是文本");
}

bool PropBool(const TPropValue& v) {
  if (auto b = std::get_if<bool>(&v)) return *b;
  if (auto i = std::get_if<int64_t>(&v)) return *i != 0;
  throw EPropertyError(L"属性值不是布尔值");
}

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info{"TObject", nullptr, {}, {}, {}};
  return info;
}

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo info{"TPersistent", &TObject::StaticClassInfo(), {}, {}, {}};
  return info;
}

const TClassInfo& TCollection::StaticClassInfo() {
  static const TClassInfo info{"TCollection", &TPersistent::StaticClassInfo(), {}, {}, {}};
  return info;
}

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info{
      "TComponent",
      &TPersistent::StaticClassInfo(),
      {},
      {{"Name", TPropKind::String, [](TObject* o) -> TPropValue { return As<TComponent>(o)->Name(); },
        [](TObject* o, const TPropValue& v) { As<TComponent>(o)->SetName(PropStr(v)); }},
       {"Tag", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TComponent>(o)->Tag); },
        [](TObject* o, const TPropValue& v) { As<TComponent>(o)->Tag = static_cast<intptr_t>(PropInt(v)); }}},
      {}};
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  FState |= csDestroying;
  // Tell everyone who asked for it, then forget them (they forget us in return).
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& back = c->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    c->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    RemoveComponent(c);
    delete c;
  }
}

void TComponent::SetName(const std::wstring& name) {
  if (name == FName) return;
  if (FOwner && !name.empty()) {
    TComponent* other = FOwner->FindComponent(name);
    if (other && other != this) throw EComponentError(L"组件名称 \"" + name + L"\" 已经存在");
  }
  FName = name;
}

TComponent* TComponent::FindComponent(const std::wstring& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
  if (c->FOwner) c->FOwner->RemoveComponent(c);
  FComponents.push_back(c);
  c->FOwner = this;
  Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(FComponents.begin(), FComponents.end(), c);
  if (it == FComponents.end()) return;
  FComponents.erase(it);
  c->FOwner = nullptr;
  if (!(FState & csDestroying)) Notification(c, TOperation::opRemove);
}

void TComponent::FreeNotification(TComponent* c) {
  if (!c || c == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), c) == FFreeNotifies.end()) FFreeNotifies.push_back(c);
  if (std::find(c->FFreeNotifies.begin(), c->FFreeNotifies.end(), this) == c->FFreeNotifies.end())
    c->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c) {
  if (!c) return;
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), c), FFreeNotifies.end());
  c->FFreeNotifies.erase(std::remove(c->FFreeNotifies.begin(), c->FFreeNotifies.end(), this), c->FFreeNotifies.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

}  // namespace fw
