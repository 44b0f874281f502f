#include <gtest/gtest.h>

#include "core/safe_names.h"

namespace {

// Code page 932: 0x95 0x5C is one character whose second byte is a backslash.
bool ShiftJisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

TEST(IsSafeFileName, TakesOnlyPlainNamesThatStayInTheirFolder) {
  const std::string folder = "C:\\UT2004\\Maps\\";
  const struct {
    std::string name;
    bool safe;
  } cases[] = {
      {"DM-Rankin.ut2", true},        {"My Mutator.u", true},          {"DM-Caf\xE9.ut2", true},
      {".hidden.utx", true},          {"CONSOLE.u", true},             {"COM10.u", true},
      {"LPT0.u", true},               {"NULL.ut2", true},              {"a..b.ut2", true},
      {"", false},                    {".", false},                    {"..", false},
      {"..\\Evil.u", false},          {"..\\..\\..\\Windows\\evil.u", false}, {"../Evil.u", false},
      {"Maps/DM-Foo.ut2", false},     {"C:\\Abs.utx", false},          {"C:Abs.utx", false},
      {"\\\\server\\share\\x.u", false}, {"Name.ut2:stream", false},   {"Tab\t.ut2", false},
      {std::string("Nul\0.u", 6), false}, {"Dot.ut2.", false},         {"Space.ut2 ", false},
      {"CON", false},                 {"CON.ut2", false},              {"con.ut2", false},
      {"Con .ut2", false},            {"NUL.u", false},                {"nul.tar.gz", false},
      {"PRN.utx", false},             {"aux.uax", false},              {"COM1.u", false},
      {"com9.ogg", false},            {"LPT1", false},                 {"lpt9.ka", false},
      {"Star*.ut2", false},           {"Any?.utx", false},             {"\"Quoted\".u", false},
      {"<Tag>.ut2", false},           {"Pipe|.uax", false},            {"COM\xB9.u", false},
      {"lpt\xB3.ut2", false},         {"Com\xC2\xB2.u", false},        {"COM\xB9\xB9.u", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSafeFileName(c.name, folder, NoLeadBytes), c.safe) << c.name;
}

TEST(IsSafeFileName, CountsCharactersOfThePathUpToTheLimit) {
  const std::string folder = "C:\\UT2004\\Maps\\";  // 15 characters
  EXPECT_TRUE(IsSafeFileName(std::string(244, 'x'), folder, NoLeadBytes));
  EXPECT_FALSE(IsSafeFileName(std::string(245, 'x'), folder, NoLeadBytes));
  EXPECT_FALSE(IsSafeFileName(std::string(300, 'x'), "", NoLeadBytes));
  // A double-byte character is one character, and its 0x5C trail byte no separator.
  const std::string kanji = "\x95\x5C";
  EXPECT_TRUE(IsSafeFileName(kanji + ".ut2", folder, ShiftJisLeadByte));
  EXPECT_FALSE(IsSafeFileName(kanji + ".ut2", folder, NoLeadBytes));
  EXPECT_TRUE(IsSafeFileName("\x83|.ut2", folder, ShiftJisLeadByte)) << "a trail byte 0x7C is no '|'";
  std::string pairs;
  for (int i = 0; i < 244; ++i) pairs += kanji;
  EXPECT_TRUE(IsSafeFileName(pairs, folder, ShiftJisLeadByte));
  EXPECT_FALSE(IsSafeFileName(pairs + kanji, folder, ShiftJisLeadByte));
}

TEST(IsSafeCacheKey, AsksTheSameOfTheKeyAndOfItsPayloadsName) {
  const std::string cache = "C:\\UT2004\\Cache\\";
  EXPECT_TRUE(IsSafeCacheKey("3F2A9C0D5B7E41C6A8D2F0B9E1C4A7D3-1", cache, NoLeadBytes));
  for (const char* key : {"", "..", "..\\..\\Maps\\Old", "../Up", "C:\\AbsKey", "CON", "Key."})
    EXPECT_FALSE(IsSafeCacheKey(key, cache, NoLeadBytes)) << key;
  EXPECT_TRUE(IsSafeCacheKey(std::string(239, 'K'), cache, NoLeadBytes));
  EXPECT_FALSE(IsSafeCacheKey(std::string(240, 'K'), cache, NoLeadBytes)) << "with .uxx, 260 characters";
}
