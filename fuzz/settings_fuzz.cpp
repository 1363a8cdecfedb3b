// Any bytes as a settings file, an integer text and a colour text: nothing may crash, and
// what is written must read back.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "settings/color_text.h"
#include "settings/ini_document.h"
#include "settings/int_text.h"

namespace yomitron {
namespace {

#define REQUIRE(condition)                                                               \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: %s does not hold\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

constexpr std::string_view kOwnSections[] = {"PROGRAM", "POSITION", "FONT", "PANEL", "OPTION"};

// The integer text rule worked out another way, to check ParseInteger against.
std::optional<std::int32_t> ReferenceInteger(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.starts_with("0x") || s.starts_with("0X")) {
    base = 16;
    s.remove_prefix(2);
  } else if (s.starts_with("$") || s.starts_with("x") || s.starts_with("X")) {
    base = 16;
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  for (const char c : s) {
    const bool digit = c >= '0' && c <= '9';
    const bool hex = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!digit && !(base == 16 && hex)) return std::nullopt;
  }
  const std::size_t first = s.find_first_not_of('0');
  const std::string_view significant = first == std::string_view::npos ? "" : s.substr(first);
  if (significant.size() > (base == 16 ? 8u : 10u)) return std::nullopt;
  std::uint64_t magnitude = 0;
  if (!significant.empty()) {
    std::from_chars(significant.data(), significant.data() + significant.size(), magnitude, base);
  }
  if (base == 16) {
    const std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
  }
  const std::int64_t value =
      negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

void CheckIntegerText(std::string_view text) {
  const auto value = ParseInteger(text);
  REQUIRE(value == ReferenceInteger(text));
  if (value) REQUIRE(ParseInteger(IntToStr(*value)) == value);
}

void CheckColorText(std::string_view bytes) {
  std::wstring text;
  for (const char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
  try {
    const Color color = StringToColor(text);
    REQUIRE(StringToColor(ColorToString(color)) == color);
    if (const auto integer = ReferenceInteger(bytes))
      REQUIRE(color == static_cast<Color>(static_cast<std::uint32_t>(*integer)));
  } catch (const EConvertError& e) {
    REQUIRE(e.Message() == L"'" + text + L"' は整数ではありません");
    REQUIRE(!ReferenceInteger(bytes));
  }
  if (bytes.size() >= 4) {
    Color any = 0;
    for (int i = 0; i < 4; ++i) any = any << 8 | static_cast<unsigned char>(bytes[i]);
    REQUIRE(StringToColor(ColorToString(any)) == any);
  }
}

// Every value the document holds reads the same in the other document, and both list the same
// sections and keys.
void RequireSameReads(const IniDocument& a, const IniDocument& b) {
  REQUIRE(a.SectionNames() == b.SectionNames());
  for (const std::string& section : a.SectionNames()) {
    REQUIRE(a.KeyNames(section) == b.KeyNames(section));
    for (const std::string& key : a.KeyNames(section)) {
      const std::string value = a.ReadString(section, key, "");
      REQUIRE(value.size() <= IniDocument::kMaxValueBytes);
      REQUIRE(b.ReadString(section, key, "") == value);
      REQUIRE(a.ReadInteger(section, key, 7) == StrToIntDef(value, 7));
      REQUIRE(a.ReadBool(section, key, true) == StrToBoolDef(value, true));
    }
  }
}

// A write that is refused changes nothing; one that is accepted reads as written when the
// value has nothing the reader takes off.
void Write(IniDocument& doc, std::string_view section, std::string_view key,
           std::string_view value) {
  const std::string before = doc.Serialize();
  try {
    doc.WriteString(section, key, value);
  } catch (const std::invalid_argument&) {
    REQUIRE(doc.Serialize() == before);
    return;
  }
  const std::string read = doc.ReadString(section, key, "(absent)");
  const bool plain = value.size() <= IniDocument::kMaxValueBytes && !value.empty() &&
                     value.front() != ' ' && value.front() != '\t' && value.back() != ' ' &&
                     value.back() != '\t' && value.front() != '"';
  if (plain) REQUIRE(read == value);  // the whole document is read back afterwards
}

void SaveLikeTheWindow(IniDocument& ini, std::string_view faceName) {
  ini.EraseSection("PROGRAM");
  Write(ini, "PROGRAM", "Name", "yomitron.exe");
  Write(ini, "PROGRAM", "Path", "C:\\\x83\x5C\x83\x74\x83\x67\\");
  Write(ini, "PROGRAM", "Version", "V2.1");
  ini.EraseSection("POSITION");
  ini.WriteInteger("POSITION", "Top", 0);
  ini.WriteInteger("POSITION", "Left", -5);
  ini.WriteInteger("POSITION", "Height", 108);
  ini.WriteInteger("POSITION", "Width", 260);
  ini.EraseSection("FONT");
  Write(ini, "FONT", "Name", faceName);
  ini.WriteInteger("FONT", "Size", -23);
  ini.WriteInteger("FONT", "Style", 1);
  Write(ini, "FONT", "Color", "clBlack");
  ini.EraseSection("PANEL");
  Write(ini, "PANEL", "Color", "$00123456");
  ini.EraseSection("OPTION");
  ini.WriteBool("OPTION", "StayOnTop", true);
}

// Whether the save erases a section of this name, matched the document's own way.
bool IsOwnSection(std::string_view name) {
  static const IniDocument own = [] {
    IniDocument doc;
    for (const std::string_view section : kOwnSections) doc.WriteString(section, "k", "v");
    return doc;
  }();
  return own.SectionExists(name);
}

void CheckDocument(std::string_view bytes) {
  const IniDocument original(bytes);
  REQUIRE(original.Serialize() == bytes);
  RequireSameReads(original, IniDocument(original.Serialize()));

  // Edits with the document's own names: every key changed in place, a new key beside it,
  // every other section erased.
  IniDocument edited(bytes);
  const std::vector<std::string> sections = original.SectionNames();
  for (std::size_t s = 0; s < sections.size() && s < 8; ++s) {
    const std::vector<std::string> keys = original.KeyNames(sections[s]);
    for (std::size_t k = 0; k < keys.size() && k < 8; ++k) {
      const std::string value = original.ReadString(sections[s], keys[k], "");
      Write(edited, sections[s], keys[k], value + "x");
      Write(edited, sections[s], keys[k] + "2", value);
      Write(edited, keys[k], value, sections[s]);  // names from anywhere
    }
    if (s % 2 == 1) {
      edited.EraseSection(sections[s]);
      REQUIRE(!edited.SectionExists(sections[s]));
    }
  }
  const IniDocument reread(edited.Serialize());
  RequireSameReads(edited, reread);
  REQUIRE(reread.Serialize() == edited.Serialize());

  // The close's save: the user's sections keep their bytes and their values, the five follow.
  IniDocument saved(bytes);
  SaveLikeTheWindow(saved, original.ReadString("FONT", "Name", "MS Gothic").substr(0, 31));
  IniDocument kept(bytes);
  for (const std::string_view own : kOwnSections) kept.EraseSection(own);
  IniDocument fresh;
  SaveLikeTheWindow(fresh, original.ReadString("FONT", "Name", "MS Gothic").substr(0, 31));
  std::string expected = kept.Serialize();
  if (!expected.empty() && expected.back() != '\n') expected += "\r\n";
  expected += fresh.Serialize();
  REQUIRE(saved.Serialize() == expected);

  const IniDocument savedReread(saved.Serialize());
  RequireSameReads(saved, savedReread);
  for (const std::string& section : original.SectionNames()) {
    if (IsOwnSection(section)) continue;
    for (const std::string& key : original.KeyNames(section)) {
      REQUIRE(savedReread.ReadString(section, key, "") == original.ReadString(section, key, ""));
    }
  }
  const std::vector<std::string> names = savedReread.SectionNames();
  REQUIRE(names.size() >= 5);
  for (std::size_t i = 0; i < 5; ++i) REQUIRE(names[names.size() - 5 + i] == kOwnSections[i]);
  REQUIRE(savedReread.KeyNames("FONT") ==
          (std::vector<std::string>{"Name", "Size", "Style", "Color"}));
}

}  // namespace
}  // namespace yomitron

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  yomitron::CheckIntegerText(bytes);
  yomitron::CheckColorText(bytes);
  yomitron::CheckDocument(bytes);
  return 0;
}
