#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace yomitron {
namespace {

// CP932 katakana whose second bytes look like ASCII: folding them as letters would merge
// different names.
constexpr char kA[] = "\x83\x41";   // ア
constexpr char kDi[] = "\x83\x61";  // ヂ: the same first byte, then "a"
constexpr char kZo[] = "\x83\x5D";  // ゾ: its second byte is "]"

std::string S(std::string_view s) {
  return std::string(s);
}

// --- Reading ----------------------------------------------------------------------------------

struct ReadCase {
  const char* file;
  const char* section;
  const char* key;
  const char* expected;  // nullptr: absent, the default comes back
};

TEST(IniReadTest, FindsSectionsKeysAndValuesThePlatformWay) {
  const ReadCase cases[] = {
      {"[FONT]\r\nName=Arial\r\n", "FONT", "Name", "Arial"},
      {"[font]\r\nNAME=Arial\r\n", "Font", "name", "Arial"},  // ASCII case is ignored
      {"[FONT]\nName=Arial\n", "FONT", "Name", "Arial"},      // LF line ends
      {"[FONT]\nName=Arial", "FONT", "Name", "Arial"},        // no line end at the end
      {"[FONT]\r\nName=\r\n", "FONT", "Name", ""},            // present and empty
      {"[FONT]\r\nName\r\n", "FONT", "Name", nullptr},        // no "=": not an entry
      {"[FONT]\r\nSize=9\r\n", "FONT", "Name", nullptr},
      {"[PANEL]\r\nName=x\r\n", "FONT", "Name", nullptr},
      {"", "FONT", "Name", nullptr},
      {"Name=x\r\n[FONT]\r\n", "FONT", "Name", nullptr},  // before any section
      // Blanks around names and values.
      {"  [ FONT ]  \r\n\t Name \t= \t Arial Black \t\r\n", "FONT", "Name", "Arial Black"},
      {"[FONT]\r\nName=Arial\r\n", " FONT ", "\tName ", "Arial"},
      // Quotes: one enclosing pair of double quotes goes.
      {"[F]\r\nk=\" a b \"\r\n", "F", "k", " a b "},
      {"[F]\r\nk=\"\"\r\n", "F", "k", ""},
      {"[F]\r\nk=\"\r\n", "F", "k", "\""},
      {"[F]\r\nk=\"a\r\n", "F", "k", "\"a"},
      {"[F]\r\nk='a'\r\n", "F", "k", "'a'"},
      {"[F]\r\nk=\"\"a\"\"\r\n", "F", "k", "\"a\""},
      // The first "=" splits; the header name ends at the last "]".
      {"[F]\r\nk==a=b\r\n", "F", "k", "=a=b"},
      {"[F] comment\r\nk=1\r\n", "F", "k", "1"},
      {"[a]b]\r\nk=1\r\n", "a]b", "k", "1"},
      {"[]\r\nk=1\r\n", "", "k", "1"},
      {"[F\r\nk=1\r\n", "F", "k", nullptr},  // not a header
      // The first of repeated sections and keys wins; the second section is not looked into.
      {"[F]\r\nk=1\r\nk=2\r\n", "F", "k", "1"},
      {"[F]\r\nk=1\r\n[f]\r\nk=2\r\nj=3\r\n", "F", "k", "1"},
      {"[F]\r\nk=1\r\n[f]\r\nk=2\r\nj=3\r\n", "F", "j", nullptr},
      // A CR that is not part of a line end stays in the value.
      {"[F]\r\nk=a\rb\r\n", "F", "k", "a\rb"},
      {"[F]\r\nk=a\r\r\n", "F", "k", "a\r"},
  };
  for (const ReadCase& c : cases) {
    const IniDocument doc(c.file);
    const std::string got = doc.ReadString(c.section, c.key, "(default)");
    EXPECT_EQ(got, c.expected ? c.expected : "(default)")
        << "file " << ::testing::PrintToString(std::string(c.file)) << " [" << c.section << "] "
        << c.key;
    EXPECT_EQ(doc.ValueExists(c.section, c.key), c.expected != nullptr) << c.file;
  }
}

TEST(IniReadTest, DoubleByteNamesAreComparedWholeNeverFolded) {
  // ア and ヂ differ only in a second byte that looks like "A" / "a".
  const IniDocument doc("[" + S(kA) + "]\r\n" + S(kA) + "=1\r\n" + S(kDi) + "=2\r\n[" + S(kDi) +
                        "]\r\nk=3\r\n");
  EXPECT_EQ(doc.ReadString(kA, kA, ""), "1");
  EXPECT_EQ(doc.ReadString(kA, kDi, ""), "2");
  EXPECT_EQ(doc.ReadString(kDi, "k", ""), "3");
  EXPECT_FALSE(doc.ValueExists(kA, "k"));
  EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{kA, kDi}));

  // ASCII letters after a double-byte character still fold.
  const IniDocument mixed("[" + S(kA) + "b]\r\n" + S(kDi) + "x=1\r\n");
  EXPECT_EQ(mixed.ReadString(S(kA) + "B", S(kDi) + "X", ""), "1");
  // A lone lead byte before an ASCII character that cannot be a second byte does not hide it.
  const IniDocument lone("[\x83 x]\r\nk=1\r\n");
  EXPECT_EQ(lone.ReadString("\x83 X", "K", ""), "1");
}

TEST(IniReadTest, ASecondByteThatLooksLikeABracketDoesNotCloseTheHeader) {
  // ゾ ends in "]": "[ゾ]" is the section ゾ, and "[xゾ" is no header at all.
  const IniDocument doc("[" + S(kZo) + "]\r\nk=1\r\n[x" + S(kZo) + "\r\nk=2\r\n");
  EXPECT_EQ(doc.ReadString(kZo, "k", ""), "1");
  EXPECT_EQ(doc.SectionNames(), std::vector<std::string>{kZo});
  EXPECT_FALSE(doc.SectionExists("x\x83"));
}

TEST(IniReadTest, ValuesAreCutAt2047BytesOnACharacterBoundary) {
  const std::string ascii(3000, 'x');
  EXPECT_EQ(IniDocument("[F]\r\nk=" + ascii + "\r\n").ReadString("F", "k", ""),
            std::string(2047, 'x'));
  const std::string exact(2047, 'y');
  EXPECT_EQ(IniDocument("[F]\r\nk=" + exact + "\r\n").ReadString("F", "k", ""), exact);
  // A double-byte character at bytes 2047 and 2048 does not fit and is left out whole.
  const std::string straddling = std::string(2046, 'z') + kA + "tail";
  EXPECT_EQ(IniDocument("[F]\r\nk=" + straddling + "\r\n").ReadString("F", "k", ""),
            std::string(2046, 'z'));
  // Blanks and quotes go before the cut.
  const std::string quoted = "  \"" + std::string(2047, 'q') + "\"  ";
  EXPECT_EQ(IniDocument("[F]\r\nk=" + quoted + "\r\n").ReadString("F", "k", ""),
            std::string(2047, 'q'));
}

struct TypedCase {
  const char* value;  // nullptr: no such key
  int integer;        // read with default 7
  bool on;            // read with default off
};

TEST(IniReadTest, IntegersAndBooleansFallBackOnTheDefault) {
  const TypedCase cases[] = {
      {"0x10", 16, true},  {"$10", 16, true},  {"-1", -1, true}, {"0", 0, false},
      {"2", 2, true},      {"True", 7, false}, {"", 7, false},   {"12px", 7, false},
      {"\" 5\"", 5, true},  // quotes go, then the integer text allows leading spaces
      {nullptr, 7, false},
  };
  for (const TypedCase& c : cases) {
    const IniDocument doc(c.value ? "[O]\r\nv=" + S(c.value) + "\r\n" : "[O]\r\n");
    EXPECT_EQ(doc.ReadInteger("O", "v", 7), c.integer) << (c.value ? c.value : "(absent)");
    EXPECT_EQ(doc.ReadBool("O", "v", false), c.on) << (c.value ? c.value : "(absent)");
  }
  EXPECT_TRUE(IniDocument("[O]\r\nv=x\r\n").ReadBool("O", "v", true));
  EXPECT_TRUE(IniDocument("").ReadBool("O", "v", true));
}

TEST(IniReadTest, ListsSectionsAndKeysOnceInFileOrder) {
  const IniDocument doc("k=0\r\n[B]\r\nx=1\r\ny=2\r\nX=3\r\n; note\r\n[A]\r\n[b]\r\nz=4\r\n");
  EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(doc.KeyNames("b"), (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(doc.KeyNames("A").empty());
  EXPECT_TRUE(doc.KeyNames("C").empty());
}

// --- Writing ----------------------------------------------------------------------------------

TEST(IniWriteTest, UntouchedDocumentsSerializeToTheirOwnBytes) {
  const char* files[] = {
      "",
      "\r\n",
      "[A]\r\nk=v\r\n",
      "[A]\nk=v\n\n[B]\r\nj = \"w\" \r\n",
      "no newline at the end",
      "; comment\n\xEF\xBB\xBFodd\r\n  [A] x\r\n\t=\r\n[A]\r\n\r\n\r\n",
      "[A]\r\nk=a\rb\r\r\n\r",
  };
  for (const char* file : files) {
    EXPECT_EQ(IniDocument(file).Serialize(), file) << ::testing::PrintToString(S(file));
  }
  const std::string withNul("[A]\r\nk=\0v\r\n", 11);
  EXPECT_EQ(IniDocument(withNul).Serialize(), withNul);
  EXPECT_EQ(IniDocument(withNul).ReadString("A", "k", ""), std::string("\0v", 2));
}

TEST(IniWriteTest, ChangesAKeyInPlaceAndAddsNewKeysAfterTheLastLineOfTheSection) {
  IniDocument doc("[A]\nk=1\n; note\n\n\n[B]\nj=2\n");
  doc.WriteString("a", "K", "10");
  doc.WriteString("A", "new", "x");
  doc.WriteInteger("B", "n", -5);
  doc.WriteBool("B", "on", true);
  EXPECT_EQ(doc.Serialize(),
            "[A]\n"
            "K=10\r\n"
            "; note\n"
            "new=x\r\n"
            "\n\n"
            "[B]\n"
            "j=2\n"
            "n=-5\r\n"
            "on=1\r\n");
  EXPECT_EQ(doc.ReadString("A", "k", ""), "10");
  EXPECT_EQ(doc.ReadInteger("B", "N", 0), -5);
}

TEST(IniWriteTest, AppendsNewSectionsAtTheEndAndEndsAnUnfinishedLastLine) {
  const struct {
    const char* file;
    const char* expected;
  } cases[] = {
      {"", "[N]\r\nk=v\r\n"},
      {"x", "x\r\n[N]\r\nk=v\r\n"},
      {"[A]\nk=1", "[A]\nk=1\r\n[N]\r\nk=v\r\n"},
      {"[A]\r\n\r\n", "[A]\r\n\r\n[N]\r\nk=v\r\n"},
  };
  for (const auto& c : cases) {
    IniDocument doc(c.file);
    doc.WriteString("N", "k", "v");
    EXPECT_EQ(doc.Serialize(), c.expected) << c.file;
  }
  IniDocument unfinished("[A]");
  unfinished.WriteString("A", "k", "v");
  EXPECT_EQ(unfinished.Serialize(), "[A]\r\nk=v\r\n");
}

TEST(IniWriteTest, ErasingRemovesEverySectionOfTheNameWithAllItsLines) {
  IniDocument doc("[Font]\r\nk=1\r\n[Mine]\r\n; keep\r\n[FONT]\r\nj=2\r\n\r\n[Other]\nz\n");
  doc.EraseSection("font");
  EXPECT_EQ(doc.Serialize(), "[Mine]\r\n; keep\r\n[Other]\nz\n");
  EXPECT_FALSE(doc.SectionExists("FONT"));
  doc.EraseSection("absent");
  EXPECT_EQ(doc.Serialize(), "[Mine]\r\n; keep\r\n[Other]\nz\n");
  doc.WriteString("FONT", "Name", "x");
  EXPECT_EQ(doc.Serialize(), "[Mine]\r\n; keep\r\n[Other]\nz\n[FONT]\r\nName=x\r\n");
}

// The close's sequence, as the window runs it: erase each of its sections and write it anew.
void SaveLikeTheWindow(IniDocument& ini) {
  ini.EraseSection("PROGRAM");
  ini.WriteString("PROGRAM", "Name", "yomitron.exe");
  ini.WriteString("PROGRAM", "Path", "C:\\" + S("\x83\x5C\x83\x74\x83\x67") + "\\");  // ソフト
  ini.WriteString("PROGRAM", "Version", "V2.1");
  ini.EraseSection("POSITION");
  ini.WriteInteger("POSITION", "Top", 0);
  ini.WriteInteger("POSITION", "Left", 382);
  ini.WriteInteger("POSITION", "Height", 108);
  ini.WriteInteger("POSITION", "Width", 260);
  ini.EraseSection("FONT");
  ini.WriteString("FONT", "Name", "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E");
  ini.WriteInteger("FONT", "Size", -23);
  ini.WriteInteger("FONT", "Style", 1);
  ini.WriteString("FONT", "Color", "clBlack");
  ini.EraseSection("PANEL");
  ini.WriteString("PANEL", "Color", "clBtnFace");
  ini.EraseSection("OPTION");
  ini.WriteBool("OPTION", "StayOnTop", false);
}

constexpr char kSavedSections[] =
    "[PROGRAM]\r\n"
    "Name=yomitron.exe\r\n"
    "Path=C:\\\x83\x5C\x83\x74\x83\x67\\\r\n"
    "Version=V2.1\r\n"
    "[POSITION]\r\n"
    "Top=0\r\n"
    "Left=382\r\n"
    "Height=108\r\n"
    "Width=260\r\n"
    "[FONT]\r\n"
    "Name=\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E\r\n"
    "Size=-23\r\n"
    "Style=1\r\n"
    "Color=clBlack\r\n"
    "[PANEL]\r\n"
    "Color=clBtnFace\r\n"
    "[OPTION]\r\n"
    "StayOnTop=0\r\n";

TEST(IniSaveTest, AFirstSaveWritesTheFiveSectionsInOrder) {
  IniDocument ini("");
  SaveLikeTheWindow(ini);
  EXPECT_EQ(ini.Serialize(), kSavedSections);
}

TEST(IniSaveTest, KeepsOtherSectionsByteForByteAheadOfTheFive) {
  // The user's own sections (LF line ends, comments, odd lines, a double-byte name whose
  // second byte is "]") around the program's sections, which hold a key of their own and
  // come twice; the file does not end in a line end.
  const std::string mine = "; my notes\n[Mine]\nkey = value \n odd line\n\n";
  const std::string zo = "[" + S(kZo) + "]\r\n\tk=\"q\"\r\n";
  const std::string last = "[Last]\nx=1";
  const std::string file = mine +
                           "[font]\r\nName=Old\r\nExtra=gone\r\n"
                           "[POSITION]\r\nTop=5\r\n" +
                           zo + "[FONT]\r\nSize=99\r\n" + last;
  IniDocument ini(file);
  SaveLikeTheWindow(ini);
  EXPECT_EQ(ini.Serialize(), mine + zo + last + "\r\n" + kSavedSections);

  const IniDocument reread(ini.Serialize());
  EXPECT_FALSE(reread.ValueExists("FONT", "Extra"));
  EXPECT_EQ(reread.ReadString("Mine", "key", ""), "value");
  EXPECT_EQ(reread.ReadString(kZo, "k", ""), "q");
  EXPECT_EQ(reread.KeyNames("FONT"), (std::vector<std::string>{"Name", "Size", "Style", "Color"}));
}

TEST(IniSaveTest, ASecondSaveChangesNothing) {
  IniDocument ini("[Mine]\r\na=1\r\n");
  SaveLikeTheWindow(ini);
  const std::string once = ini.Serialize();
  IniDocument again(once);
  SaveLikeTheWindow(again);
  EXPECT_EQ(again.Serialize(), once);
}

TEST(IniWriteTest, RefusesLinesThatWouldNotReadBackAndChangesNothing) {
  const struct {
    std::string section, key, value;
  } cases[] = {
      {"A", "k", "two\r\nlines"}, {"A", "k", "lf\n"},  {"A\n", "k", "v"},
      {"A", "k\n", "v"},          {"A", "k=1", "v"},   {"A", "[x", "]"},
      {"A", " [x]", "v"},         {"x\x83", "k", "v"},  // "\x83]" is one char
  };
  for (const auto& c : cases) {
    IniDocument doc("[A]\r\nk=old\r\n");
    EXPECT_THROW(doc.WriteString(c.section, c.key, c.value), std::invalid_argument)
        << ::testing::PrintToString(c.section) << " " << ::testing::PrintToString(c.key) << " "
        << ::testing::PrintToString(c.value);
    EXPECT_EQ(doc.Serialize(), "[A]\r\nk=old\r\n");
  }
  // What does read back is written, odd or not.
  IniDocument doc;
  doc.WriteString("a]b", "[x", "y");
  doc.WriteString(kZo, kDi, "]");
  doc.WriteString("\x83 ", "", "=");
  doc.WriteString("C\r", "k\r", "a\rb\r");  // CRs that are not followed by an LF
  const IniDocument reread(doc.Serialize());
  EXPECT_EQ(reread.ReadString("a]b", "[x", ""), "y");
  EXPECT_EQ(reread.ReadString(kZo, kDi, ""), "]");
  EXPECT_EQ(reread.ReadString("\x83", "", "-"), "=");
  EXPECT_EQ(reread.ReadString("C\r", "k\r", ""), "a\rb\r");
  EXPECT_EQ(reread.Serialize(), doc.Serialize());
}

TEST(EIniFileExceptionTest, NamesTheFile) {
  const EIniFileException e(L"C:\\ソフト\\yomitron.ini");
  EXPECT_EQ(e.Message(), L"C:\\ソフト\\yomitron.ini に書き込めません");
}

}  // namespace
}  // namespace yomitron
