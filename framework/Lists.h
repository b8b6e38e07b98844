// Pointer lists and string lists with attached objects, name=value access and sorting.
#pragma once
#include <string>
#include <vector>

#include "Classes.h"

namespace fw {

// A list of untyped pointers; indices out of range raise EListError.
class TList {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  void* Items(int index) const;
  void SetItem(int index, void* item);
  void* operator[](int index) const { return Items(index); }
  int Add(void* item);
  void Insert(int index, void* item);  // index == Count appends
  void Delete(int index);
  int Remove(void* item);  // removes the first occurrence; its former index or -1
  int IndexOf(void* item) const;
  void Exchange(int a, int b);
  void Move(int from, int to);
  void Clear() { FItems.clear(); }
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

private:
  void Check(int index) const;
  std::vector<void*> FItems;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };
enum class TTextEncoding { Utf8, Utf16, Ansi };

// Lines of text, each with an optional object. Comparison ignores letter case unless
// CaseSensitive is set. A sorted list keeps its order on Add and finds by binary search.
class TStringList : public TPersistent {
  FW_DECLARE_CLASS()
public:
  TStringList() = default;
  TStringList(const TStringList& other);
  TStringList& operator=(const TStringList& other);

  int Count() const { return static_cast<int>(FItems.size()); }
  const std::wstring& Strings(int index) const;
  void SetString(int index, const std::wstring& s);  // not allowed in a sorted list
  const std::wstring& operator[](int index) const { return Strings(index); }
  TObject* Objects(int index) const;
  void SetObject(int index, TObject* object);

  int Add(const std::wstring& s) { return AddObject(s, nullptr); }
  int AddObject(const std::wstring& s, TObject* object);
  void AddStrings(const TStringList& other);
  void Insert(int index, const std::wstring& s, TObject* object = nullptr);  // not in a sorted list
  void Delete(int index);
  void Clear();
  void Exchange(int a, int b);
  void Assign(const TStringList& other);

  int IndexOf(const std::wstring& s) const;
  int IndexOfObject(const TObject* object) const;
  // Position of s in a sorted list: true and its index when present, else false and the
  // index where it would be inserted. An unsorted list is searched from the start.
  bool Find(const std::wstring& s, int& index) const;
  void Sort();

  bool Sorted() const { return FSorted; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates = TDuplicates::dupIgnore;
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool on);

  // name=value lines.
  wchar_t NameValueSeparator = L'=';
  std::wstring Names(int index) const;  // empty when the line has no separator
  std::wstring ValueFromIndex(int index) const;
  void SetValueFromIndex(int index, const std::wstring& value);
  int IndexOfName(const std::wstring& name) const;
  std::wstring Values(const std::wstring& name) const;
  // Sets the value of the first line named name; an empty value removes that line and a
  // missing name adds a line.
  void SetValue(const std::wstring& name, const std::wstring& value);

  // The lines joined by CRLF, each line ending with one. Setting splits at CRLF, CR or LF.
  std::wstring Text() const;
  void SetText(const std::wstring& text);
  // The lines separated by commas; lines with spaces, commas, quotes or nothing are quoted.
  std::wstring CommaText() const;
  void SetCommaText(const std::wstring& text);

  // Reads text with a byte-order mark as UTF-8 or UTF-16, otherwise UTF-8 when the bytes
  // are valid UTF-8 and the system code page when not.
  void LoadFromFile(const std::wstring& path);
  void SaveToFile(const std::wstring& path, TTextEncoding encoding = TTextEncoding::Utf8) const;

  void BeginUpdate();
  void EndUpdate();
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  virtual void Changing();
  virtual void Changed();
  virtual int Compare(const std::wstring& a, const std::wstring& b) const;

private:
  struct TItem {
    std::wstring Text;
    TObject* Object;
  };
  void Check(int index) const;
  void InsertItem(int index, const std::wstring& s, TObject* object);

  std::vector<TItem> FItems;
  bool FSorted = false;
  bool FCaseSensitive = false;
  int FUpdateCount = 0;
};

}  // namespace fw
