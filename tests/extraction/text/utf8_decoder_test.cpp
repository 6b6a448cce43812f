// UTF-8 decoding goes thirty-two or sixteen bytes at a time through text of
// ASCII and two-byte sequences and falls back to one sequence at a time for
// anything else. Whatever the mix and wherever the blocks fall, the result must
// be ICU's: one U+FFFD per ill-formed sequence.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "extraction/text/charsets.h"
#include "extraction/text/text.h"
#include "tests/support/icu_reference.h"
#include "tests/support/random.h"

namespace vantrel {
namespace {

using namespace std::string_literals;

using testing::IcuFromUtf8;

// Each case at the edge of blocks of both sizes.
TEST(Utf8DecodingTest, BlocksAndTheirEdges) {
  const std::string arabic = "\xD9\x84\xD8\xA7";  // two letters, four bytes
  for (std::size_t block : {16u, 32u}) {
    const std::string short_pad(block - 1, 'x'), pad(block, 'y');
    const std::string cases[] = {
        pad + pad,                                  // ASCII blocks
        short_pad + arabic + pad,                   // a pair across two
        short_pad + "\xD9" + "x" + pad,             // a lead without trail
        short_pad + "\xD9",                         // ... at the very end
        pad + "\x84" + pad,                         // a trail without lead
        short_pad + arabic + "\x84" + pad,          // a carried pair, a stray
        short_pad + arabic + "\xE2\x82\xAC" + pad,  // then a three-byte one
        short_pad + "\xC1\x81" + pad,               // an overlong lead
        pad + "\xF0\x9F\x98\x80" + arabic + arabic + arabic + arabic + pad,
        arabic + arabic + arabic + arabic + arabic + arabic + arabic + arabic +
            arabic + arabic + arabic + arabic + arabic + arabic + arabic +
            arabic + "x",
        "\xED\xA0\x80" + pad,  // an encoded surrogate is ill-formed
    };
    for (const std::string& bytes : cases) {
      EXPECT_EQ(Utf8ToText(bytes), IcuFromUtf8(bytes))
          << ::testing::PrintToString(bytes);
    }
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
  testing::Random next{99};
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
