// Object model: ownership, free notification, names, method references, property tables.
#include <gtest/gtest.h>

#include "Classes.h"

using namespace fw;

namespace {

struct Watcher : TComponent {
  using TComponent::TComponent;
  std::vector<TComponent*> removed;
  void Notification(TComponent* c, TOperation op) override {
    if (op == TOperation::opRemove) removed.push_back(c);
  }
};

struct Counted : TComponent {
  static inline int alive = 0;
  explicit Counted(TComponent* owner) : TComponent(owner) { ++alive; }
  ~Counted() override { --alive; }
};

struct Clicker {
  int clicks = 0;
  TObject* last = nullptr;
  void Click(TObject* sender) { ++clicks; last = sender; }
  void Other(TObject*) {}
};

}  // namespace

TEST(Component, OwnerFreesOwnedComponentsAndTheyLeaveTheOwnerList) {
  auto* owner = new TComponent(nullptr);
  auto* a = new Counted(owner);
  new Counted(owner);
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(Counted::alive, 2);
  delete a;  // a component freed on its own leaves its owner's list
  EXPECT_EQ(owner->ComponentCount(), 1);
  delete owner;
  EXPECT_EQ(Counted::alive, 0);
}

TEST(Component, FreeNotificationReachesTheOtherSideOnceEvenAcrossOwners) {
  Watcher w(nullptr);
  auto* other = new TComponent(nullptr);
  w.FreeNotification(other);
  delete other;
  ASSERT_EQ(w.removed.size(), 1u);
  EXPECT_EQ(w.removed[0], other);
  // The watcher's own destruction must not touch the freed component.
}

TEST(Component, NamesAreUniqueAmongSiblingsCaseInsensitively) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName(L"Encrypt");
  EXPECT_THROW(b->SetName(L"ENCRYPT"), EComponentError);
  b->SetName(L"Decrypt");
  EXPECT_EQ(owner.FindComponent(L"decrypt"), b);
  EXPECT_EQ(owner.FindComponent(L"missing"), nullptr);
}

TEST(MethodReference, AssignedCompareCopyAndCall) {
  Clicker c1, c2;
  TNotifyEvent none;
  EXPECT_FALSE(Assigned(none));
  auto e1 = TNotifyEvent::Of<&Clicker::Click>(&c1);
  auto e1b = TNotifyEvent::Of<&Clicker::Click>(&c1);
  auto e2 = TNotifyEvent::Of<&Clicker::Click>(&c2);
  auto e3 = TNotifyEvent::Of<&Clicker::Other>(&c1);
  EXPECT_TRUE(Assigned(e1));
  EXPECT_TRUE(e1 == e1b);
  EXPECT_FALSE(e1 == e2);  // same code, other object
  EXPECT_FALSE(e1 == e3);  // same object, other code
  TNotifyEvent saved = e1;  // saved and restored as the skin engine does
  TObject sender;
  saved(&sender);
  EXPECT_EQ(c1.clicks, 1);
  EXPECT_EQ(c1.last, &sender);
  TNotifyEvent back(saved.Ref());
  EXPECT_TRUE(back == e1);
}

TEST(ClassInfo, PublishedPropertiesAreFoundThroughAncestorsAndAbsentOnesReadAsAbsent) {
  TComponent c(nullptr);
  const TPropInfo* tag = c.ClassInfo().FindProp("tag");
  ASSERT_NE(tag, nullptr);
  tag->Set(&c, int64_t(42));
  EXPECT_EQ(c.Tag, 42);
  EXPECT_EQ(std::get<int64_t>(tag->Get(&c)), 42);
  EXPECT_EQ(c.ClassInfo().FindProp("Caption"), nullptr);
  EXPECT_STREQ(c.ClassName(), "TComponent");
  EXPECT_TRUE(c.InheritsFrom(TPersistent::StaticClassInfo()));
}
