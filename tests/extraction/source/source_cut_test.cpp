// Cutting a source in its own bytes must give exactly what decoding the
// whole text and cutting it gives: the same outcome and piece, the same
// output bytes, and for a file without a piece the same text and cut. Each
// case below is held to that plain way, decoded and cut independently.
#include "extraction/source/source_cut.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "extraction/text/code_page.h"
#include "tests/support/random.h"

namespace vantrel {
namespace {

using namespace std::string_literals;

void Load(std::string_view bytes, SourceBuffers& buffers) {
  buffers.bytes.Resize(bytes.size(), 0);
  if (!bytes.empty()) {
    std::memcpy(buffers.bytes.data(), bytes.data(), bytes.size());
  }
}

// A matcher of another kind, which finds what the exact one finds.
class OtherMatcher final : public Matcher {
 public:
  explicit OtherMatcher(std::u16string marker) : exact_(std::move(marker)) {}
  std::optional<TextRange> Find(std::u16string_view text) const override {
    return exact_.Find(text);
  }

 private:
  ExactMatcher exact_;
};

// What the source gives when cut through `buffers`, set against the plain
// way; `fast` tells whether the piece came without the whole text, and
// `shared` whether part of it was left for the writing thread to decode.
void ExpectPlain(std::string_view bytes, Charset charset,
                 const std::u16string& start, const std::u16string& end,
                 SourceBuffers& buffers, bool* fast = nullptr,
                 bool* shared = nullptr) {
  const std::string trace = ::testing::PrintToString(bytes) + " in charset " +
                            std::to_string(static_cast<int>(charset)) +
                            ", markers " + ::testing::PrintToString(start) +
                            " " + ::testing::PrintToString(end);
  std::u16string text;
  DecodeText(bytes, charset, text);
  const ExactMatcher start_matcher(start), end_matcher(end);
  const CutResult plain = CutPiece(text, start_matcher, end_matcher);
  const std::u16string_view plain_piece =
      std::u16string_view(text).substr(plain.piece.begin, plain.piece.size());

  Load(bytes, buffers);
  const SourceCutter cutter(charset, start_matcher, end_matcher, false);
  SourcePiece source = cutter.PieceOf(buffers);
  if (shared != nullptr) *shared = !source.piece_rest.empty();
  const Piece piece = source.TakePiece();
  ASSERT_EQ(source.cut.outcome, plain.outcome) << trace;
  if (fast != nullptr) {
    *fast = source.text.empty() && plain.outcome == FileOutcome::kExtracted;
  }
  if (plain.outcome != FileOutcome::kExtracted) {
    EXPECT_EQ(source.text, text) << trace;
  }
  const bool ranges_known = !source.text.empty() ||
                            charset == Charset::kWindows1256 ||
                            plain.outcome != FileOutcome::kExtracted;
  if (ranges_known) {
    EXPECT_EQ(source.cut.start, plain.start) << trace;
    EXPECT_EQ(source.cut.end, plain.end) << trace;
    EXPECT_EQ(source.cut.piece, plain.piece) << trace;
  }
  if (plain.outcome != FileOutcome::kExtracted) return;
  if (piece.windows1256) {
    // What the windows-1256 output would hold for the plain piece.
    std::string encoded;
    EncodeText(plain_piece, OutputFormat::kWindows1256, encoded);
    EXPECT_EQ(*piece.windows1256, encoded) << trace;
  } else {
    EXPECT_EQ(piece.text, plain_piece) << trace;
  }
}

TEST(SourceCutTest, Cases) {
  const std::string page = "<p>\r\nbody</p>";
  const struct {
    std::string bytes;
    Charset charset;
    std::u16string start, end;
    bool fast;  // the piece came without decoding the whole
  } cases[] = {
      {"\xEF\xBB\xBF" + page, Charset::kUtf8, u"<p>\r\n", u"</p>", true},
      {page, Charset::kUtf8, u"<p>\r\n", u"</p>", true},  // no signature
      {"x\xD8\xA8[\xD8\xA8\xF0\x9F\x98\x80]", Charset::kUtf8, u"\u0628[", u"]",
       true},
      // A piece that begins with a signature keeps it: it is text there.
      {"[\xEF\xBB\xBFx]", Charset::kUtf8, u"[", u"]", true},
      // Ill-formed bytes around and inside the piece, and cut by a marker.
      {"\xC3[\x80\xE2\x82]\xED\xA0\x80", Charset::kUtf8, u"[", u"]", true},
      {"\xE2[\xE2]", Charset::kUtf8, u"[", u"]", true},
      // U+FFFD stands for ill-formed bytes too, an unpaired surrogate for
      // nothing: such markers need the whole text.
      {"a\xFF[b]", Charset::kUtf8, u"\uFFFD[", u"]", false},
      {"a\xEF\xBF\xBD[b]", Charset::kUtf8, u"\uFFFD[", u"]", false},
      {"[b]", Charset::kUtf8, u"[", u"\xD800", false},
      {"[b\xED\xA0\x80]", Charset::kUtf8, u"[", u"\xD800", false},
      // Empty markers, an empty rest, an empty source.
      {"abc]", Charset::kUtf8, u"", u"]", true},
      {"[abc", Charset::kUtf8, u"[", u"", true},
      {"abc[", Charset::kUtf8, u"[", u"", false},
      {"\xEF\xBB\xBF", Charset::kUtf8, u"", u"", false},
      // windows-1256: one byte a character, both ways.
      {"<p>\xC8\x81</p>", Charset::kWindows1256, u"<p>", u"</p>", true},
      {"\xC8[\xFF\x80]", Charset::kWindows1256, u"\u0628[", u"]", true},
      {"[\xC8]", Charset::kWindows1256, u"[", u"\u4E00", false},
      {"[\xC8]", Charset::kWindows1256, u"\uFFFD", u"]", false},
      // UTF-16: the source is its own text, whatever the markers.
      {"\xFF\xFE[\0x\0]\0"s, Charset::kUtf16Le, u"[", u"]", false},
      {"[\0\x00\xD8]\0y"s, Charset::kUtf16Le, u"[", u"]", false},
      {"\xFF\xFE[\0x\0]"s, Charset::kUtf16Le, u"[", u"]\uFFFD", false},
      {"\xFE\xFF\0[\0x\0]"s, Charset::kUtf16Be, u"[", u"]", false},
  };
  for (const auto& c : cases) {
    SourceBuffers buffers;
    bool fast = false;
    ExpectPlain(c.bytes, c.charset, c.start, c.end, buffers, &fast);
    EXPECT_EQ(fast, c.fast) << ::testing::PrintToString(c.bytes);
  }
}

// Random sources made of well-formed and ill-formed pieces of UTF-8, of
// windows-1256 bytes and of UTF-16, and markers that hit them often, some
// with U+FFFD, unpaired surrogates or characters windows-1256 lacks; one
// set of buffers serves them all, as in a run.
TEST(SourceCutTest, AgreesWithThePlainWayOnRandomSources) {
  const std::string tokens[] = {"[",
                                "]",
                                "a",
                                "\r\n",
                                "\xD8\xA8",
                                "\xEF\xBF\xBD",
                                "\xF0\x9F\x98\x80",
                                "\xC3",
                                "\x80",
                                "\xE2\x82",
                                "\xED\xA0\x80",
                                "\xEF\xBB\xBF",
                                "\xFF",
                                "\x00"s};
  const std::u16string marker_units[] = {
      u"[",          u"]",      u"a",      u"\r\n",   u"\u0628", u"\uFFFD",
      u"\U0001F600", u"\xD83D", u"\u067E", u"\u06D2", u"\u4E00"};
  testing::Random next{2024};
  const auto marker = [&] {
    std::u16string m;
    for (std::size_t i = next(3); i > 0; --i) {
      m += marker_units[next(std::size(marker_units))];
    }
    return m;
  };
  const Charset charsets[] = {Charset::kUtf8, Charset::kWindows1256,
                              Charset::kUtf16Le, Charset::kUtf16Be};
  SourceBuffers buffers;
  int fast_pieces = 0;
  for (int round = 0; round < 30000; ++round) {
    const Charset charset = charsets[round % 4];
    std::string bytes;
    if (next(4) == 0) bytes = "\xEF\xBB\xBF";
    for (std::size_t i = next(40); i > 0; --i) {
      bytes += tokens[next(std::size(tokens))];
    }
    const std::u16string start = marker(), end = marker();
    bool fast = false;
    ExpectPlain(bytes, charset, start, end, buffers, &fast);
    fast_pieces += fast;
    if (::testing::Test::HasFailure()) break;
  }
  EXPECT_GT(fast_pieces, 1000);  // the fast ways were taken
}

// Large UTF-8 pieces are decoded in two halves, on two threads: wherever
// the middle falls, among ill-formed bytes and sequences of every length,
// the halves make the piece.
TEST(SourceCutTest, LargePiecesDecodedInTwoHalves) {
  const std::string tokens[] = {
      "a",    "\xD8\xA8", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
      "\xC3", "\x80",     "\xE2\x82",     "\xED\xA0\x80"};
  testing::Random next{7};
  SourceBuffers buffers;
  for (int round = 0; round < 40; ++round) {
    std::string body;
    while (body.size() < (std::size_t{1} << 20) + 64) {
      body += tokens[next(round % 2 ? 2 : std::size(tokens))];
    }
    bool fast = false, shared = false;
    ExpectPlain("\xEF\xBB\xBF[" + body + "]", Charset::kUtf8, u"[", u"]",
                buffers, &fast, &shared);
    EXPECT_TRUE(fast && shared) << "round " << round;
  }
}

TEST(SourceCutTest, OtherMatchersAndWholeTextsTakeThePlainWay) {
  const std::string bytes = "\xEF\xBB\xBFx[piece]";
  const ExactMatcher exact_start(u"["), exact_end(u"]");
  const OtherMatcher other_end(u"]");
  const struct {
    const Matcher& end;
    bool whole_texts;
  } cases[] = {{other_end, false}, {exact_end, true}};
  for (const auto& c : cases) {
    SourceBuffers buffers;
    Load(bytes, buffers);
    const SourcePiece source =
        SourceCutter(Charset::kUtf8, exact_start, c.end, c.whole_texts)
            .PieceOf(buffers);
    EXPECT_EQ(source.text, u"x[piece]");
    EXPECT_EQ(source.cut.piece, (TextRange{2, 7}));
    EXPECT_EQ(source.piece.text, u"piece");
  }
}

// ICU's windows-1256 may have no undefined or shared bytes (ICU 72 has
// none), so this made-up code page has both: bytes 0x80 to 0x84 undefined, 0x85
// and 0x86 the same character. Bytes that way stand for no marker, and a piece
// holding them is not the bytes its text encodes to.
TEST(CodePageTest, UndefinedAndSharedBytes) {
  std::array<char16_t, 256> to_text;
  for (int b = 0; b < 256; ++b) to_text[b] = static_cast<char16_t>(0x600 + b);
  for (int b = 0x80; b <= 0x84; ++b) to_text[b] = 0xFFFD;
  to_text[0x86] = to_text[0x85];
  const CodePage page(to_text);

  EXPECT_EQ(page.BytesOf(u"\u0641\u0642"), "AB");
  EXPECT_EQ(page.BytesOf(u""), "");
  EXPECT_EQ(page.BytesOf(u"\uFFFD"), std::nullopt);
  EXPECT_EQ(page.BytesOf(u"\u0641\u0685"), std::nullopt);  // shared
  EXPECT_EQ(page.BytesOf(u"\u0041"), std::nullopt);        // lacking
  EXPECT_EQ(page.ToByte(0x685), 0x86);
  EXPECT_TRUE(page.RoundTrips("AB\x86"));
  EXPECT_FALSE(page.RoundTrips("AB\x85"));
  EXPECT_FALSE(page.RoundTrips("\x80"));
}

}  // namespace
}  // namespace vantrel
