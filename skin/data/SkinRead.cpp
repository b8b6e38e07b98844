// TSkinReader: container parsing with bounds checks, entry lookup, user messages of the reader.
#include "skin/data/SkinRead.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <utility>

namespace skin {
namespace {

MessageHandler& Handler() {
  static MessageHandler handler = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
  return handler;
}

std::int32_t ReadInt32(std::span<const std::uint8_t> data, std::size_t offset) {
  const std::uint32_t v = static_cast<std::uint32_t>(data[offset]) | (static_cast<std::uint32_t>(data[offset + 1]) << 8) |
                          (static_cast<std::uint32_t>(data[offset + 2]) << 16) |
                          (static_cast<std::uint32_t>(data[offset + 3]) << 24);
  return static_cast<std::int32_t>(v);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string s) {
  for (auto& c : s) c = LowerAscii(c);
  return s;
}

// Lines end at CR, LF or CR LF; a final line break adds no empty entry, an inner empty line does.
// Stops after `limit` lines, enough for the caller to see that there are too many.
std::vector<std::string> SplitLines(const std::string& text, std::size_t limit) {
  std::vector<std::string> lines;
  std::size_t i = 0;
  while (i < text.size() && lines.size() < limit) {
    const std::size_t end = text.find_first_of("\r\n", i);
    if (end == std::string::npos) {
      lines.push_back(text.substr(i));
      break;
    }
    lines.push_back(text.substr(i, end - i));
    i = end + 1;
    if (text[end] == '\r' && i < text.size() && text[i] == '\n') ++i;
  }
  return lines;
}

}  // namespace

MessageHandler SetSkinMessageHandler(MessageHandler handler) { return std::exchange(Handler(), std::move(handler)); }

void ShowSkinMessage(const std::string& text) {
  if (Handler()) Handler()(text);
}

int TSkinReader::NameListOffset(std::int32_t version) {
  switch (version) {
    case 20000: return 16;
    case 30000: return 272;
    case 40000: return 96;
    default: return -1;
  }
}

void TSkinReader::Clear() {
  FNames.clear();
  FSizes.clear();
  FOffsets.clear();
  FHeader.fill(0);
  FData.clear();
  FData.shrink_to_fit();
}

bool TSkinReader::Fail(std::string reason) {
  Clear();
  FLastError = std::move(reason);
  ShowSkinMessage(FLastError);
  return false;
}

bool TSkinReader::ReadArchive(std::span<const std::uint8_t> stored) {
  Clear();
  FLastError.clear();
  std::int32_t length = 0;
  if (!ReadExpandedLength(stored, length)) return Fail("皮肤数据已损坏：缺少展开长度");
  // Checked here so that a damaged length allocates nothing.
  if (length < 0 || length > FMaxExpandedLength)
    return Fail("皮肤数据已损坏：展开长度 " + std::to_string(length) + " 超出范围");
  std::vector<std::uint8_t> expanded = ExpandStoredSkin(stored, FMaxExpandedLength);
  return ParseArchive(expanded);
}

bool TSkinReader::ParseArchive(std::span<const std::uint8_t> expanded) {
  Clear();
  FLastError.clear();
  if (expanded.size() < FHeader.size()) return Fail("皮肤数据已损坏：缺少文件头");
  const std::int32_t version = ReadInt32(expanded, 0);
  const int listOffset = NameListOffset(version);
  if (listOffset < 0) return Fail(kVersionMessage);

  // Every count is checked against the bytes actually present before it is used.
  const std::int32_t listLength = ReadInt32(expanded, 4);
  const std::uint64_t size = expanded.size();
  if (listLength < 0 || static_cast<std::uint64_t>(listOffset) + static_cast<std::uint64_t>(listLength) > size)
    return Fail("皮肤数据已损坏：名称表长度 " + std::to_string(listLength) + " 超出范围");
  const std::string listText(reinterpret_cast<const char*>(expanded.data()) + listOffset,
                             static_cast<std::size_t>(listLength));
  std::vector<std::string> names = SplitLines(LowerAscii(listText), kMaxEntries + 1);
  if (names.size() > kMaxEntries) return Fail("皮肤数据已损坏：条目多于 1001 个");

  const std::uint64_t sizesOffset = static_cast<std::uint64_t>(listOffset) + static_cast<std::uint64_t>(listLength);
  const std::uint64_t dataOffset = sizesOffset + 4u * names.size();
  if (dataOffset > size) return Fail("皮肤数据已损坏：大小表超出数据末尾");
  std::vector<std::int32_t> sizes(names.size());
  std::vector<std::size_t> offsets(names.size());
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    sizes[i] = ReadInt32(expanded, static_cast<std::size_t>(sizesOffset + 4 * i));
    if (sizes[i] < 0) return Fail("皮肤数据已损坏：条目“" + names[i] + "”的大小为负");
    offsets[i] = static_cast<std::size_t>(total);
    total += static_cast<std::uint64_t>(sizes[i]);
    if (total > size - dataOffset)
      return Fail("皮肤数据已损坏：条目“" + names[i] + "”超出数据末尾");
  }

  std::copy_n(expanded.begin(), FHeader.size(), FHeader.begin());
  FNames = std::move(names);
  FSizes = std::move(sizes);
  FOffsets = std::move(offsets);
  FData.assign(expanded.begin() + static_cast<std::ptrdiff_t>(dataOffset), expanded.end());
  return true;
}

std::span<const std::uint8_t> TSkinReader::Entry(std::size_t index) const {
  return std::span<const std::uint8_t>(FData).subspan(FOffsets.at(index), static_cast<std::size_t>(FSizes.at(index)));
}

std::int32_t TSkinReader::Version() const { return ReadInt32(FHeader, 0); }

bool TSkinReader::ExtractEntry(const std::string& name, std::vector<std::uint8_t>& dest) const {
  dest.clear();
  const std::string wanted = LowerAscii(name);
  const auto it = std::find(FNames.begin(), FNames.end(), wanted);
  if (it == FNames.end()) return false;
  const auto entry = Entry(static_cast<std::size_t>(it - FNames.begin()));
  dest.assign(entry.begin(), entry.end());
  return true;
}

bool TSkinReader::FindEntry(const std::string& pattern, std::vector<std::uint8_t>& dest, std::string& foundName) const {
  dest.clear();
  if (pattern.empty()) return false;
  for (std::size_t i = 0; i < FNames.size(); ++i) {
    if (FNames[i].find(pattern) != std::string::npos) {
      const auto entry = Entry(i);
      dest.assign(entry.begin(), entry.end());
      foundName = FNames[i];
      return true;
    }
  }
  return false;
}

}  // namespace skin
