#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"

namespace yomitron {

// A save of the settings file that did not happen. The file is left as it was.
class EIniFileException : public Error {
 public:
  explicit EIniFileException(std::wstring_view path)
      : Error(std::wstring(path) + L" に書き込めません") {}
};

// The settings file in memory: CP932 bytes, never converted, read and edited the way the
// platform's profile functions read and edit a file, and written back so that everything the
// edits do not touch keeps its exact bytes.
//
// Reading:
//  - A section starts at a line "[name]" (blanks before "[" allowed; the name ends at the last
//    "]" of the line, what follows is ignored). Lines before the first section belong to none.
//  - An entry is a line "key=value", split at the first "=". Other lines are ignored.
//  - Section and key names match without regard to ASCII letter case and without the blanks
//    (spaces, tabs) around them. The second byte of a double-byte CP932 character (lead byte
//    0x81-0x9F or 0xE0-0xFC, then 0x40-0xFC) is never folded or taken for "]".
//  - A value loses the blanks around it, then one pair of enclosing double quotes, and is cut
//    to 2047 bytes (never inside a double-byte character). A key with an empty value reads as
//    the empty text, not as absent.
//  - The first of repeated sections, and the first of repeated keys in it, wins.
//  - Lines end in LF or CRLF.
//
// Writing:
//  - WriteString changes the value of the first matching key in place, or adds the entry after
//    the section's last non-blank line, or appends a new section at the end of the document.
//    New and changed lines end in CRLF.
//  - EraseSection removes every section of the name with all its lines, so that writing the
//    section again appends it at the end: a save that erases and rewrites its own sections
//    leaves the user's other sections, their comments and odd lines byte for byte ahead of them.
//  - A written line must read back as the section or key it is for: a name or value holding an
//    LF, a key holding "=", an entry that would read as a "[section]" line, or a section name
//    whose last byte would swallow the "]" throws std::invalid_argument, and the document stays
//    unchanged. Nothing read from a file and no name the program writes does. (A CR reads back
//    as written: only one right before the LF belongs to the line end.)
class IniDocument {
 public:
  IniDocument() = default;
  // Never fails: any bytes are a document.
  explicit IniDocument(std::string_view bytes);

  static constexpr std::size_t kMaxValueBytes = 2047;

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // The integer text rule (ParseInteger); an absent or unusable value gives the default.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  // An integer text, non-zero is on; absent or unusable gives the default.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // Each name once, as first written, in file order.
  std::vector<std::string> SectionNames() const;
  // The keys of the section that reads (the first of the name), each once, in file order.
  std::vector<std::string> KeyNames(std::string_view section) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void EraseSection(std::string_view section);

  // The document's bytes.
  std::string Serialize() const;

 private:
  enum class LineEnd : std::uint8_t { kNone, kLf, kCrLf };
  struct Line {
    std::string text;  // without its line end
    LineEnd end = LineEnd::kCrLf;
    bool isEntry = false;
    std::string foldedKey;  // entries only
  };
  struct Section {
    std::string name;         // as written, without blanks
    std::string foldedName;   // for matching
    std::vector<Line> lines;  // the "[name]" line first
  };

  static Line MakeLine(std::string text, LineEnd end);
  Section* Find(std::string_view foldedName);
  const Section* Find(std::string_view foldedName) const;
  static const Line* FindEntry(const Section& section, std::string_view foldedKey);
  const Line* FindEntry(std::string_view section, std::string_view key) const;
  Line* LastLine();

  std::vector<Line> preamble_;  // lines before the first section
  std::vector<Section> sections_;
};

}  // namespace yomitron
