// Skin description reader of the generator (used to check a description and to draw sheets).
#include "tools/skingen/Ini.h"

#include <cctype>
#include <sstream>

namespace skingen {

namespace {

std::string Trim(const std::string& text) {
  std::size_t a = 0, b = text.size();
  while (a < b && static_cast<unsigned char>(text[a]) <= 32) ++a;
  while (b > a && static_cast<unsigned char>(text[b - 1]) <= 32) --b;
  return text.substr(a, b - a);
}

}  // namespace

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

Ini::Ini(const std::string& text) {
  std::istringstream in(text);
  std::string raw;
  Section* current = nullptr;
  while (std::getline(in, raw)) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      FSections.push_back({Trim(line.substr(1, line.size() - 2)), {}});
      FSectionNames.push_back(FSections.back().name);
      current = &FSections.back();
      continue;
    }
    if (!current) continue;
    const auto eq = line.find('=');
    if (eq == std::string::npos) {
      current->lines.emplace_back("", line);
    } else {
      current->lines.emplace_back(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    }
  }
}

const Ini::Section* Ini::Find(const std::string& section) const {
  const std::string wanted = Lower(section);
  for (const auto& s : FSections)
    if (Lower(s.name) == wanted) return &s;
  return nullptr;
}

bool Ini::HasSection(const std::string& section) const { return Find(section) != nullptr; }

std::optional<std::string> Ini::Get(const std::string& section, const std::string& key) const {
  const Section* s = Find(section);
  if (!s) return std::nullopt;
  const std::string wanted = Lower(key);
  for (const auto& [k, v] : s->lines)
    if (Lower(k) == wanted) return v.empty() ? std::nullopt : std::optional<std::string>(v);
  return std::nullopt;
}

int Ini::Int(const std::string& section, const std::string& key, int fallback) const {
  const auto value = Get(section, key);
  if (!value) return fallback;
  try {
    std::size_t used = 0;
    const int v = std::stoi(*value, &used, 10);
    return used == value->size() ? v : fallback;
  } catch (const std::exception&) {
    return fallback;
  }
}

std::vector<std::pair<std::string, std::string>> Ini::Lines(const std::string& section) const {
  const Section* s = Find(section);
  return s ? s->lines : std::vector<std::pair<std::string, std::string>>{};
}

}  // namespace skingen
