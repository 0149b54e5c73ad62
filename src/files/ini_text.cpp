#include "files/ini_text.h"

#include <cctype>

namespace ql {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
  return -1;
}

// A name as written, with %XX decoded and folded to lower case for comparing.
std::string NameKey(std::string_view name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '%' && i + 2 < name.size() && HexDigit(name[i + 1]) >= 0 &&
        HexDigit(name[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexDigit(name[i + 1]) * 16 + HexDigit(name[i + 2])));
      i += 2;
    } else {
      out.push_back(name[i]);
    }
  }
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool IsComment(std::string_view line) {
  const std::string_view text = Trimmed(line);
  return text.empty() || text.front() == ';' || text.front() == '#';
}

// The section a header line names, or nullopt when it is no header.
std::optional<std::string_view> Header(std::string_view line) {
  const std::string_view text = Trimmed(line);
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return std::nullopt;
  return Trimmed(text.substr(1, text.size() - 2));
}

}  // namespace

IniText::IniText(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string line(text.substr(0, end));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(std::move(line));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

IniText::Place IniText::Find(std::string_view section, std::string_view key) const {
  const std::string wantedSection = NameKey(section);
  const std::string wantedKey = NameKey(key);
  Place place;
  bool inside = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (const auto header = Header(lines_[i])) {
      if (inside) break;  // a section given twice: the first one counts
      inside = NameKey(*header) == wantedSection;
      if (inside) place.section = place.end = i + 1;
      continue;
    }
    if (!inside || IsComment(lines_[i])) continue;
    const std::size_t eq = lines_[i].find('=');
    if (eq == std::string::npos) continue;
    place.end = i + 1;
    if (place.key == std::string::npos &&
        NameKey(Trimmed(std::string_view(lines_[i]).substr(0, eq))) == wantedKey) {
      place.key = i;
    }
  }
  return place;
}

std::optional<std::string> IniText::Get(std::string_view section, std::string_view key) const {
  const Place place = Find(section, key);
  if (place.key == std::string::npos) return std::nullopt;
  const std::string& line = lines_[place.key];
  std::string_view value = Trimmed(std::string_view(line).substr(line.find('=') + 1));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  const Place place = Find(section, key);
  // Blanks at either end survive only between double quotes.
  const bool quoted = value != Trimmed(value) || (!value.empty() && value.front() == '"');
  std::string line = std::string(key) + "=" + (quoted ? "\"" : "") + std::string(value) +
                     (quoted ? "\"" : "");
  // A header in the encoded form is written as it stands from now on.
  if (place.section != std::string::npos && lines_[place.section - 1].find('%') != std::string::npos) {
    lines_[place.section - 1] = "[" + std::string(section) + "]";
  }
  if (place.key != std::string::npos) {
    lines_[place.key] = std::move(line);
  } else if (place.section != std::string::npos) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(place.end), std::move(line));
  } else {
    if (!lines_.empty() && !Trimmed(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(line));
  }
}

std::string IniText::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\n";
  return text;
}

}  // namespace ql
