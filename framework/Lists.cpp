// TList and TStringList.
#include "Lists.h"

#include <windows.h>

#include <algorithm>

#include "Streams.h"

namespace fw {

// ---------------------------------------------------------------------------
// TList
// ---------------------------------------------------------------------------

void TList::Check(int index) const {
  if (index < 0 || index >= Count()) throw EListError(L"列表索引越界 (" + IntToStr(index) + L")");
}

void* TList::Items(int index) const {
  Check(index);
  return FItems[static_cast<size_t>(index)];
}

void TList::SetItem(int index, void* item) {
  Check(index);
  FItems[static_cast<size_t>(index)] = item;
}

int TList::Add(void* item) {
  FItems.push_back(item);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  if (index != Count()) Check(index);
  FItems.insert(FItems.begin() + index, item);
}

void TList::Delete(int index) {
  Check(index);
  FItems.erase(FItems.begin() + index);
}

int TList::Remove(void* item) {
  int i = IndexOf(item);
  if (i >= 0) Delete(i);
  return i;
}

int TList::IndexOf(void* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TList::Exchange(int a, int b) {
  Check(a);
  Check(b);
  std::swap(FItems[static_cast<size_t>(a)], FItems[static_cast<size_t>(b)]);
}

void TList::Move(int from, int to) {
  if (from == to) return;
  Check(from);
  Check(to);
  void* item = FItems[static_cast<size_t>(from)];
  FItems.erase(FItems.begin() + from);
  FItems.insert(FItems.begin() + to, item);
}

// ---------------------------------------------------------------------------
// TStringList
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TStringList, TPersistent)

TStringList::TStringList(const TStringList& other) : TPersistent(other) { Assign(other); }

TStringList& TStringList::operator=(const TStringList& other) {
  Assign(other);
  return *this;
}

void TStringList::Assign(const TStringList& other) {
  if (&other == this) return;
  Changing();
  FItems = other.FItems;
  FSorted = other.FSorted;
  FCaseSensitive = other.FCaseSensitive;
  Duplicates = other.Duplicates;
  NameValueSeparator = other.NameValueSeparator;
  Changed();
}

void TStringList::Check(int index) const {
  if (index < 0 || index >= Count()) throw EStringListError(L"字符串列表索引越界 (" + IntToStr(index) + L")");
}

void TStringList::Changing() {
  if (FUpdateCount == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TStringList::BeginUpdate() {
  if (FUpdateCount == 0) Changing();
  ++FUpdateCount;
}

void TStringList::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

int TStringList::Compare(const std::wstring& a, const std::wstring& b) const {
  if (!FCaseSensitive) return CompareText(a, b);
  int r = CompareStringW(LOCALE_USER_DEFAULT, 0, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                         static_cast<int>(b.size()));
  return r - CSTR_EQUAL;
}

const std::wstring& TStringList::Strings(int index) const {
  Check(index);
  return FItems[static_cast<size_t>(index)].Text;
}

void TStringList::SetString(int index, const std::wstring& s) {
  if (FSorted) throw EStringListError(L"已排序的列表不能直接修改行");
  Check(index);
  Changing();
  FItems[static_cast<size_t>(index)].Text = s;
  Changed();
}

TObject* TStringList::Objects(int index) const {
  Check(index);
  return FItems[static_cast<size_t>(index)].Object;
}

void TStringList::SetObject(int index, TObject* object) {
  Check(index);
  Changing();
  FItems[static_cast<size_t>(index)].Object = object;
  Changed();
}

void TStringList::InsertItem(int index, const std::wstring& s, TObject* object) {
  Changing();
  FItems.insert(FItems.begin() + index, TItem{s, object});
  Changed();
}

int TStringList::AddObject(const std::wstring& s, TObject* object) {
  int index = Count();
  if (FSorted && Find(s, index)) {
    if (Duplicates == TDuplicates::dupIgnore) return index;
    if (Duplicates == TDuplicates::dupError) throw EStringListError(L"字符串列表不允许重复: " + s);
    // dupAccept: after the equal run, so equal lines keep the order they were added in.
    while (index < Count() && Compare(FItems[static_cast<size_t>(index)].Text, s) == 0) ++index;
  }
  InsertItem(index, s, object);
  return index;
}

void TStringList::AddStrings(const TStringList& other) {
  BeginUpdate();
  for (const TItem& i : std::vector<TItem>(other.FItems)) AddObject(i.Text, i.Object);
  EndUpdate();
}

void TStringList::Insert(int index, const std::wstring& s, TObject* object) {
  if (FSorted) throw EStringListError(L"已排序的列表不能在指定位置插入");
  if (index != Count()) Check(index);
  InsertItem(index, s, object);
}

void TStringList::Delete(int index) {
  Check(index);
  Changing();
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  Changing();
  FItems.clear();
  Changed();
}

void TStringList::Exchange(int a, int b) {
  Check(a);
  Check(b);
  Changing();
  std::swap(FItems[static_cast<size_t>(a)], FItems[static_cast<size_t>(b)]);
  Changed();
}

bool TStringList::Find(const std::wstring& s, int& index) const {
  if (!FSorted) {
    for (int i = 0; i < Count(); ++i)
      if (Compare(FItems[static_cast<size_t>(i)].Text, s) == 0) {
        index = i;
        return true;
      }
    index = Count();
    return false;
  }
  // Lower bound: the first line not less than s, so duplicates report their first one.
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (Compare(FItems[static_cast<size_t>(mid)].Text, s) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  index = lo;
  return lo < Count() && Compare(FItems[static_cast<size_t>(lo)].Text, s) == 0;
}

int TStringList::IndexOf(const std::wstring& s) const {
  int index;
  return Find(s, index) ? index : -1;
}

int TStringList::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)].Object == object) return i;
  return -1;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(FItems.begin(), FItems.end(),
                   [this](const TItem& a, const TItem& b) { return Compare(a.Text, b.Text) < 0; });
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == FSorted) return;
  if (sorted) Sort();
  FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool on) {
  if (on == FCaseSensitive) return;
  FCaseSensitive = on;
  if (FSorted) Sort();
}

// --- name=value ------------------------------------------------------------

std::wstring TStringList::Names(int index) const {
  const std::wstring& s = Strings(index);
  size_t p = s.find(NameValueSeparator);
  return p == std::wstring::npos ? std::wstring() : s.substr(0, p);
}

std::wstring TStringList::ValueFromIndex(int index) const {
  const std::wstring& s = Strings(index);
  size_t p = s.find(NameValueSeparator);
  return p == std::wstring::npos ? std::wstring() : s.substr(p + 1);
}

void TStringList::SetValueFromIndex(int index, const std::wstring& value) {
  std::wstring name = Names(index);
  if (FSorted) {
    Delete(index);
    AddObject(name + NameValueSeparator + value, nullptr);
  } else {
    SetString(index, name + NameValueSeparator + value);
  }
}

int TStringList::IndexOfName(const std::wstring& name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::wstring& s = FItems[static_cast<size_t>(i)].Text;
    size_t p = s.find(NameValueSeparator);
    if (p != std::wstring::npos && Compare(s.substr(0, p), name) == 0) return i;
  }
  return -1;
}

std::wstring TStringList::Values(const std::wstring& name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::wstring() : ValueFromIndex(i);
}

void TStringList::SetValue(const std::wstring& name, const std::wstring& value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i < 0) {
    Add(name + NameValueSeparator + value);
  } else {
    SetValueFromIndex(i, value);
  }
}

// --- text forms --------------------------------------------------------------

std::wstring TStringList::Text() const {
  std::wstring t;
  for (const TItem& i : FItems) {
    t += i.Text;
    t += L"\r\n";
  }
  return t;
}

void TStringList::SetText(const std::wstring& text) {
  BeginUpdate();
  Clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    Add(text.substr(start, end - start));
    if (end < text.size() && text[end] == L'\r') ++end;
    if (end < text.size() && text[end] == L'\n') ++end;
    start = end;
  }
  EndUpdate();
}

std::wstring TStringList::CommaText() const {
  std::wstring t;
  for (size_t n = 0; n < FItems.size(); ++n) {
    const std::wstring& s = FItems[n].Text;
    if (n) t += L',';
    bool quote = s.empty() || std::any_of(s.begin(), s.end(), [](wchar_t c) { return c <= L' ' || c == L',' || c == L'"'; });
    if (!quote) {
      t += s;
      continue;
    }
    t += L'"';
    for (wchar_t c : s) {
      if (c == L'"') t += L'"';
      t += c;
    }
    t += L'"';
  }
  return t;
}

void TStringList::SetCommaText(const std::wstring& text) {
  BeginUpdate();
  Clear();
  size_t i = 0, n = text.size();
  auto skipBlanks = [&] {
    while (i < n && text[i] <= L' ') ++i;
  };
  skipBlanks();
  while (i < n) {
    std::wstring item;
    if (text[i] == L'"') {
      ++i;
      while (i < n) {
        if (text[i] == L'"') {
          if (i + 1 < n && text[i + 1] == L'"') {
            item += L'"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
    } else {
      while (i < n && text[i] > L' ' && text[i] != L',') item += text[i++];
    }
    Add(item);
    skipBlanks();
    if (i < n && text[i] == L',') {
      ++i;
      skipBlanks();
      if (i == n) Add(L"");  // a trailing comma ends with an empty item
    }
  }
  EndUpdate();
}

// --- files ---------------------------------------------------------------------

void TStringList::LoadFromFile(const std::wstring& path) {
  TMemoryStream stream;
  stream.LoadFromFile(path);
  const auto* p = static_cast<const char*>(stream.Memory());
  size_t size = static_cast<size_t>(stream.Size());
  std::wstring text;
  if (size >= 2 && static_cast<uint8_t>(p[0]) == 0xFF && static_cast<uint8_t>(p[1]) == 0xFE) {
    text.assign(reinterpret_cast<const wchar_t*>(p + 2), (size - 2) / 2);
  } else {
    if (size >= 3 && static_cast<uint8_t>(p[0]) == 0xEF && static_cast<uint8_t>(p[1]) == 0xBB &&
        static_cast<uint8_t>(p[2]) == 0xBF) {
      p += 3;
      size -= 3;
    }
    int n = size ? MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, p, static_cast<int>(size), nullptr, 0) : 0;
    if (n > 0) {
      text.resize(static_cast<size_t>(n));
      MultiByteToWideChar(CP_UTF8, 0, p, static_cast<int>(size), text.data(), n);
    } else if (size) {
      text = AnsiToWide(std::string(p, size));
    }
  }
  SetText(text);
}

void TStringList::SaveToFile(const std::wstring& path, TTextEncoding encoding) const {
  const std::wstring text = Text();
  TFileStream f(path, fmCreate);
  switch (encoding) {
    case TTextEncoding::Utf8: {
      static const uint8_t bom[3] = {0xEF, 0xBB, 0xBF};
      f.WriteBuffer(bom, 3);
      std::string bytes = WideToUtf8(text);
      f.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
      break;
    }
    case TTextEncoding::Utf16: {
      static const uint8_t bom[2] = {0xFF, 0xFE};
      f.WriteBuffer(bom, 2);
      f.WriteBuffer(text.data(), static_cast<int32_t>(text.size() * sizeof(wchar_t)));
      break;
    }
    case TTextEncoding::Ansi: {
      std::string bytes = WideToAnsi(text);
      f.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
      break;
    }
  }
}

}  // namespace fw
