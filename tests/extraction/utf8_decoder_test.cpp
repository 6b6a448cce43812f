// UTF-8 decoding goes sixteen bytes at a time through text of ASCII and
// two-byte sequences and falls back to one sequence at a time for anything
// else. Whatever the mix and wherever the blocks fall, the result must be
// ICU's: one U+FFFD per ill-formed sequence.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "extraction/charsets.h"
#include "extraction/text.h"
#include "tests/support/icu_reference.h"

namespace vantrel {
namespace {

using namespace std::string_literals;

using testing::IcuFromUtf8;

TEST(Utf8DecodingTest, BlocksAndTheirEdges) {
  const std::string arabic = "\xD9\x84\xD8\xA7";  // two letters, four bytes
  const std::string pad15(15, 'x'), pad16(16, 'y');
  const std::string cases[] = {
      pad16 + pad16,                            // ASCII blocks
      pad15 + arabic + pad16,                   // a pair across two blocks
      pad15 + "\xD9" + "x" + pad16,             // a lead without its trail
      pad15 + "\xD9",                           // ... at the very end
      pad16 + "\x84" + pad16,                   // a trail without its lead
      pad15 + arabic + "\x84" + pad16,          // a carried pair, then a stray
      pad15 + arabic + "\xE2\x82\xAC" + pad16,  // then a three-byte one
      pad15 + "\xC1\x81" + pad16,               // an overlong lead
      pad16 + "\xF0\x9F\x98\x80" + arabic + arabic + arabic + arabic + pad16,
      arabic + arabic + arabic + arabic + arabic + arabic + arabic + arabic,
      "\xED\xA0\x80" + pad16,  // an encoded surrogate is ill-formed
  };
  for (const std::string& bytes : cases) {
    EXPECT_EQ(Utf8ToText(bytes), IcuFromUtf8(bytes))
        << ::testing::PrintToString(bytes);
  }
}

// Random mixes of whole, cut and broken sequences, at every offset.
TEST(Utf8DecodingTest, AgreesWithIcuOnRandomMixes) {
  const std::string pieces[] = {"a",
                                " ",
                                "\r\n",
                                "\xD9\x84",
                                "\xD8\xA7",
                                "\xC2\xAB",
                                "\xDF\xBF",
                                "\xE2\x82\xAC",
                                "\xF0\x9F\x98\x80",
                                "\xD9",
                                "\x84",
                                "\xE2\x82",
                                "\xC0",
                                "\xC1\xBF",
                                "\xF5",
                                "\xFF",
                                "\xED\xA0\x80",
                                "\xEF\xBB\xBF"};
  constexpr std::size_t kCount = sizeof pieces / sizeof pieces[0];
  std::uint64_t state = 99;
  const auto next = [&](std::size_t n) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>((state >> 33) % n);
  };
  for (int round = 0; round < 5000; ++round) {
    // Mostly Arabic and ASCII, as pages are; now and then anything.
    std::string bytes(next(20), 'x');
    for (std::size_t n = next(60); n > 0; --n) {
      bytes += pieces[next(round % 3 == 0 ? kCount : 6)];
    }
    ASSERT_EQ(Utf8ToText(bytes), IcuFromUtf8(bytes))
        << ::testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace vantrel
