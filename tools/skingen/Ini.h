// A reader for skin descriptions as the engine reads them: sections and keys match without
// regard to ASCII case, the first occurrence of a section or a key wins, ";" starts a comment.
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace skingen {

class Ini {
public:
  explicit Ini(const std::string& text);

  const std::vector<std::string>& Sections() const { return FSectionNames; }
  bool HasSection(const std::string& section) const;
  // The value of the first line of the key in the first section of that name, trimmed; none
  // when the section or the key is missing or the value is empty.
  std::optional<std::string> Get(const std::string& section, const std::string& key) const;
  int Int(const std::string& section, const std::string& key, int fallback) const;
  // Every (key, value) line of the first section of that name, in file order, keys as written.
  std::vector<std::pair<std::string, std::string>> Lines(const std::string& section) const;

private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> lines;
  };
  const Section* Find(const std::string& section) const;

  std::vector<Section> FSections;
  std::vector<std::string> FSectionNames;
};

std::string Lower(std::string text);

}  // namespace skingen
