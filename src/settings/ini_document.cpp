#include "settings/ini_document.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "settings/int_text.h"

namespace yomitron {

namespace {

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrailByte(unsigned char b) {
  return b >= 0x40 && b <= 0xFC;
}
// The size of the character starting at text[i]: 2 for a lead byte with its trail byte.
std::size_t CharSize(std::string_view text, std::size_t i) {
  return (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
          IsTrailByte(static_cast<unsigned char>(text[i + 1])))
             ? 2
             : 1;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);  // a blank is never a trail byte
  return s;
}

// The name as it is matched: without blanks, ASCII letters in upper case, double-byte
// characters untouched.
std::string FoldName(std::string_view name) {
  name = TrimBlanks(name);
  std::string folded(name);
  for (std::size_t i = 0; i < folded.size();) {
    const std::size_t n = CharSize(folded, i);
    if (n == 1 && folded[i] >= 'a' && folded[i] <= 'z')
      folded[i] = static_cast<char>(folded[i] - 32);
    i += n;
  }
  return folded;
}

// The name of a "[name]" line, or nothing for any other line.
bool SplitHeader(std::string_view text, std::string_view& name) {
  text = TrimBlanks(text);
  if (text.empty() || text.front() != '[') return false;
  std::size_t close = std::string_view::npos;
  for (std::size_t i = 1; i < text.size(); i += CharSize(text, i)) {
    if (text[i] == ']') close = i;
  }
  if (close == std::string_view::npos) return false;
  name = TrimBlanks(text.substr(1, close - 1));
  return true;
}

// The key and the raw value of a "key=value" line. "=" is never a trail byte.
bool SplitEntry(std::string_view text, std::string_view& key, std::string_view& value) {
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return false;
  key = TrimBlanks(text.substr(0, eq));
  value = text.substr(eq + 1);
  return true;
}

std::string ValueOf(std::string_view raw) {
  std::string_view v = TrimBlanks(raw);
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  if (v.size() > IniDocument::kMaxValueBytes) {
    std::size_t end = 0;
    while (end < v.size()) {
      const std::size_t n = CharSize(v, end);
      if (end + n > IniDocument::kMaxValueBytes) break;
      end += n;
    }
    v = v.substr(0, end);
  }
  return std::string(v);
}

// A CR is content unless an LF follows it, and every written line ends in CRLF, so only an LF
// can break a line. Nothing read from the file holds one.
void RequireSingleLine(std::string_view text) {
  if (text.find('\n') != std::string_view::npos)
    throw std::invalid_argument("a settings name or value may not hold a line break");
}

}  // namespace

IniDocument::Line IniDocument::MakeLine(std::string text, LineEnd end) {
  Line line;
  line.end = end;
  std::string_view name, key, value;
  if (!SplitHeader(text, name) && SplitEntry(text, key, value)) {
    line.isEntry = true;
    line.foldedKey = FoldName(key);
  }
  line.text = std::move(text);
  return line;
}

IniDocument::IniDocument(std::string_view bytes) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t lf = bytes.find('\n', start);
    LineEnd end = LineEnd::kLf;
    std::size_t stop = lf;
    if (lf == std::string_view::npos) {
      end = LineEnd::kNone;
      stop = lf = bytes.size();
    } else if (lf > start && bytes[lf - 1] == '\r') {
      end = LineEnd::kCrLf;
      stop = lf - 1;
    }
    std::string text(bytes.substr(start, stop - start));
    start = lf + 1;

    std::string_view name;
    if (SplitHeader(text, name)) {
      Section section;
      section.name = std::string(name);
      section.foldedName = FoldName(name);
      section.lines.push_back(MakeLine(std::move(text), end));
      sections_.push_back(std::move(section));
    } else {
      (sections_.empty() ? preamble_ : sections_.back().lines)
          .push_back(MakeLine(std::move(text), end));
    }
  }
}

IniDocument::Section* IniDocument::Find(std::string_view foldedName) {
  for (Section& s : sections_) {
    if (s.foldedName == foldedName) return &s;
  }
  return nullptr;
}

const IniDocument::Section* IniDocument::Find(std::string_view foldedName) const {
  for (const Section& s : sections_) {
    if (s.foldedName == foldedName) return &s;
  }
  return nullptr;
}

const IniDocument::Line* IniDocument::FindEntry(const Section& section,
                                                std::string_view foldedKey) {
  for (const Line& line : section.lines) {
    if (line.isEntry && line.foldedKey == foldedKey) return &line;
  }
  return nullptr;
}

const IniDocument::Line* IniDocument::FindEntry(std::string_view section,
                                                std::string_view key) const {
  const Section* s = Find(FoldName(section));
  return s ? FindEntry(*s, FoldName(key)) : nullptr;
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  const Line* line = FindEntry(section, key);
  if (!line) return std::string(defaultValue);
  std::string_view k, raw;
  SplitEntry(line->text, k, raw);
  return ValueOf(raw);
}

std::int32_t IniDocument::ReadInteger(std::string_view section, std::string_view key,
                                      std::int32_t defaultValue) const {
  if (!ValueExists(section, key)) return defaultValue;
  return StrToIntDef(ReadString(section, key, {}), defaultValue);
}

bool IniDocument::ReadBool(std::string_view section, std::string_view key,
                           bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniDocument::SectionExists(std::string_view section) const {
  return Find(FoldName(section)) != nullptr;
}

bool IniDocument::ValueExists(std::string_view section, std::string_view key) const {
  return FindEntry(section, key) != nullptr;
}

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) {
    if (Find(s.foldedName) == &s) names.push_back(s.name);
  }
  return names;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  const Section* s = Find(FoldName(section));
  if (!s) return names;
  for (const Line& line : s->lines) {
    if (line.isEntry && FindEntry(*s, line.foldedKey) == &line) {
      std::string_view key, raw;
      SplitEntry(line.text, key, raw);
      names.emplace_back(key);
    }
  }
  return names;
}

IniDocument::Line* IniDocument::LastLine() {
  if (!sections_.empty()) return &sections_.back().lines.back();
  return preamble_.empty() ? nullptr : &preamble_.back();
}

void IniDocument::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  RequireSingleLine(section);
  RequireSingleLine(key);
  RequireSingleLine(value);
  // The new lines must read back as the section and key they are for, or they would capture
  // or split the lines around them ("a=b" as a key, "[x" as a key with the value "]", a name
  // ending in a lead byte that would swallow the "]").
  std::string header;
  header.reserve(section.size() + 2);
  header.append("[").append(section).append("]");
  std::string_view headerName;
  if (!SplitHeader(header, headerName) || FoldName(headerName) != FoldName(section))
    throw std::invalid_argument("this section name cannot be written to a settings file");
  std::string text;
  text.reserve(key.size() + 1 + value.size());
  text.append(key).append("=").append(value);
  Line entry = MakeLine(std::move(text), LineEnd::kCrLf);
  if (!entry.isEntry || entry.foldedKey != FoldName(key))
    throw std::invalid_argument("this key cannot be written to a settings file");

  Section* s = Find(FoldName(section));
  if (!s) {
    if (Line* last = LastLine(); last && last->end == LineEnd::kNone) last->end = LineEnd::kCrLf;
    Section added;
    added.name = std::string(headerName);
    added.foldedName = FoldName(section);
    added.lines.push_back(MakeLine(std::move(header), LineEnd::kCrLf));
    added.lines.push_back(std::move(entry));
    sections_.push_back(std::move(added));
    return;
  }
  for (Line& line : s->lines) {
    if (line.isEntry && line.foldedKey == entry.foldedKey) {
      line = std::move(entry);
      return;
    }
  }
  // After the last non-blank line, so blank lines before the next section stay there.
  auto at = s->lines.end();
  while (at - 1 != s->lines.begin() && TrimBlanks((at - 1)->text).empty()) --at;
  if ((at - 1)->end == LineEnd::kNone) (at - 1)->end = LineEnd::kCrLf;
  s->lines.insert(at, std::move(entry));
}

void IniDocument::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, IntToStr(value));
}

void IniDocument::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, BoolToStr(value));
}

void IniDocument::EraseSection(std::string_view section) {
  const std::string folded = FoldName(section);
  std::erase_if(sections_, [&](const Section& s) { return s.foldedName == folded; });
}

std::string IniDocument::Serialize() const {
  std::string out;
  const auto append = [&out](const Line& line) {
    out += line.text;
    if (line.end == LineEnd::kCrLf) out += "\r\n";
    if (line.end == LineEnd::kLf) out += '\n';
  };
  for (const Line& line : preamble_) append(line);
  for (const Section& s : sections_) {
    for (const Line& line : s.lines) append(line);
  }
  return out;
}

}  // namespace yomitron
