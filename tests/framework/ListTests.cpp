// TList and TStringList: name=value access, case-insensitive search, sorting with duplicates, text forms.
#include <gtest/gtest.h>

#include "Lists.h"
#include "TestUtil.h"

using namespace fw;

TEST(List, InsertDeleteRemoveAndBoundsChecks) {
  int a, b, c;
  TList l;
  l.Add(&a);
  l.Add(&c);
  l.Insert(1, &b);
  l.Insert(3, &a);  // at Count appends
  EXPECT_EQ(l.Count(), 4);
  EXPECT_EQ(l.Remove(&a), 0);  // first occurrence only
  EXPECT_EQ(l.IndexOf(&a), 2);
  l.Exchange(0, 2);
  EXPECT_EQ(l[0], &a);
  EXPECT_EQ(l.Last(), &b);
  EXPECT_THROW(l.Items(3), EListError);
  EXPECT_THROW(l.Insert(5, &a), EListError);
  EXPECT_EQ(l.Remove(&l), -1);
}

TEST(StringList, NamesValuesAndSettingValues) {
  TStringList s;
  s.SetText(L"Caption=加密\r\nnoseparator\r\nKEY=a=b\r\n=empty name");
  EXPECT_EQ(s.Names(0), L"Caption");
  EXPECT_EQ(s.Names(1), L"");
  EXPECT_EQ(s.ValueFromIndex(2), L"a=b");  // only the first separator splits
  EXPECT_EQ(s.Values(L"key"), L"a=b");
  EXPECT_EQ(s.IndexOfName(L"CAPTION"), 0);
  EXPECT_EQ(s.Values(L"missing"), L"");

  s.SetValue(L"caption", L"解密");
  EXPECT_EQ(s.Strings(0), L"Caption=解密");  // the stored name keeps its spelling
  s.SetValue(L"New", L"1");
  EXPECT_EQ(s.Strings(s.Count() - 1), L"New=1");
  s.SetValue(L"Key", L"");  // an empty value removes the line
  EXPECT_EQ(s.IndexOfName(L"key"), -1);
  EXPECT_EQ(s.Count(), 4);

  s.NameValueSeparator = L':';
  s.Add(L"Host: x");
  EXPECT_EQ(s.Values(L"host"), L" x");
}

TEST(StringList, SearchIgnoresCaseUnlessCaseSensitive) {
  TStringList s;
  s.Add(L"Alpha");
  s.Add(L"beta");
  EXPECT_EQ(s.IndexOf(L"ALPHA"), 0);
  int i = -1;
  EXPECT_TRUE(s.Find(L"BETA", i));
  EXPECT_EQ(i, 1);
  s.SetCaseSensitive(true);
  EXPECT_EQ(s.IndexOf(L"ALPHA"), -1);
  EXPECT_EQ(s.IndexOf(L"Alpha"), 0);
  EXPECT_EQ(s.IndexOfName(L"x"), -1);
}

TEST(StringList, SortedListsHandleDuplicatesAsConfigured) {
  TStringList s;
  s.SetSorted(true);
  for (const wchar_t* w : {L"pear", L"Apple", L"fig", L"APPLE"}) s.Add(w);
  ASSERT_EQ(s.Count(), 3);  // dupIgnore: "APPLE" equals "Apple"
  EXPECT_EQ(s.Text(), L"Apple\r\nfig\r\npear\r\n");

  s.Duplicates = TDuplicates::dupError;
  EXPECT_THROW(s.Add(L"FIG"), EStringListError);
  EXPECT_EQ(s.Count(), 3);

  s.Duplicates = TDuplicates::dupAccept;
  TObject marker;
  int at = s.AddObject(L"APPLE", &marker);
  EXPECT_EQ(at, 1);  // after the equal one already there
  int found = -1;
  EXPECT_TRUE(s.Find(L"apple", found));
  EXPECT_EQ(found, 0);  // the first of the equal run
  EXPECT_EQ(s.Objects(1), &marker);
  EXPECT_FALSE(s.Find(L"grape", found));
  EXPECT_EQ(found, 3);  // where it would go
  EXPECT_THROW(s.Insert(0, L"x"), EStringListError);
  EXPECT_THROW(s.SetString(0, L"x"), EStringListError);
}

TEST(StringList, TextAndCommaTextRoundTrips) {
  TStringList s;
  s.SetText(L"one\r\ntwo\nthree\rfour\r\n\r\nsix");
  ASSERT_EQ(s.Count(), 6);
  EXPECT_EQ(s.Strings(4), L"");
  EXPECT_EQ(s.Text(), L"one\r\ntwo\r\nthree\r\nfour\r\n\r\nsix\r\n");
  TStringList t;
  t.SetText(s.Text());  // the final line break adds no empty line
  EXPECT_EQ(t.Count(), 6);

  TStringList c;
  c.Add(L"plain");
  c.Add(L"with space");
  c.Add(L"say \"hi\"");
  c.Add(L"");
  c.Add(L"a,b");
  const std::wstring comma = c.CommaText();
  EXPECT_EQ(comma, L"plain,\"with space\",\"say \"\"hi\"\"\",\"\",\"a,b\"");
  TStringList d;
  d.SetCommaText(comma);
  EXPECT_EQ(d.Text(), c.Text());
  d.SetCommaText(L" x y ,z,");  // blanks separate unquoted items; a trailing comma adds an empty one
  EXPECT_EQ(d.Text(), L"x\r\ny\r\nz\r\n\r\n");
}

TEST(StringList, ChangeEventsAreHeldDuringUpdatesAndFilesKeepChineseText) {
  struct Counter {
    int changing = 0, changed = 0;
    void Changing(TObject*) { ++changing; }
    void Changed(TObject*) { ++changed; }
  } n;
  TStringList s;
  s.OnChanging = TNotifyEvent::Of<&Counter::Changing>(&n);
  s.OnChange = TNotifyEvent::Of<&Counter::Changed>(&n);
  s.Add(L"a");
  EXPECT_EQ(n.changed, 1);
  s.BeginUpdate();
  s.Add(L"文件一");
  s.Add(L"文件二");
  EXPECT_EQ(n.changed, 1);
  s.EndUpdate();
  EXPECT_EQ(n.changing, 2);
  EXPECT_EQ(n.changed, 2);

  TempDir dir;
  for (TTextEncoding e : {TTextEncoding::Utf8, TTextEncoding::Utf16}) {
    s.SaveToFile(dir.Path(L"列表.txt"), e);
    TStringList r;
    r.LoadFromFile(dir.Path(L"列表.txt"));
    EXPECT_EQ(r.Text(), s.Text());
  }
  // Bytes without a mark that are not UTF-8 are read in the system code page.
  WriteBytes(dir.Path(L"ansi.txt"), {'a', 0xE9, '\r', '\n', 'b'});
  TStringList r;
  r.LoadFromFile(dir.Path(L"ansi.txt"));
  ASSERT_EQ(r.Count(), 2);
  EXPECT_EQ(r.Strings(0), AnsiToWide("a\xE9"));
}
