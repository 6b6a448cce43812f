#include "extraction/suggest/own_text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "extraction/match/cut.h"
#include "extraction/match/matchers.h"
#include "extraction/match/regex_matcher.h"

namespace vantrel {
namespace {

// What a text token is to its page.
enum class Share : std::uint8_t {
  kOwn,       // text few pages share
  kTemplate,  // text most pages share, or beside the content
  kNeither,   // a link's text in the content: cross references, not menus
};

// Each page's text tokens: where they stand, how long they are and whose
// text they are.
struct SharedText {
  std::vector<std::vector<Share>> shares;  // per page, per token
  std::vector<std::size_t> own;            // per page, units of own text
};

SharedText SharesOf(const std::vector<TokenizedPage>& sample) {
  // On how many pages each text's key stands.
  std::unordered_map<std::uint64_t, std::size_t> pages_with;
  for (const TokenizedPage& page : sample) {
    std::unordered_set<std::uint64_t> keys;
    for (const PageToken& token : page.tokens) {
      if (token.kind == PageToken::Kind::kText) keys.insert(token.key);
    }
    for (const std::uint64_t key : keys) ++pages_with[key];
  }
  // Text on at least half the pages is the template's; with two pages,
  // text on both.
  const std::size_t most = std::max<std::size_t>(2, (sample.size() + 1) / 2);
  SharedText shared;
  for (const TokenizedPage& page : sample) {
    std::vector<Share>& shares = shared.shares.emplace_back();
    std::size_t own = 0;
    for (const PageToken& token : page.tokens) {
      Share share = Share::kNeither;
      if (token.kind == PageToken::Kind::kText) {
        if (token.aside || pages_with[token.key] >= most) {
          share = Share::kTemplate;
        } else if (!token.link) {
          share = Share::kOwn;
          own += token.end - token.begin;
        }
      }
      shares.push_back(share);
    }
    shared.own.push_back(own);
  }
  return shared;
}

// Whether the first text token met from `from` on in the direction `step`
// (+1 or -1) that is own or template text is the page's own.
bool OwnTextNext(const std::vector<Share>& shares, std::ptrdiff_t from,
                 std::ptrdiff_t step) {
  for (std::ptrdiff_t t = from;
       t >= 0 && t < static_cast<std::ptrdiff_t>(shares.size()); t += step) {
    if (shares[t] == Share::kOwn) return true;
    if (shares[t] == Share::kTemplate) return false;
  }
  return false;
}

}  // namespace

std::vector<OwnTextShare> OwnTextShares(
    const std::vector<TokenizedPage>& sample,
    const std::vector<MarkerPair>& pairs) {
  const SharedText shared = SharesOf(sample);
  std::vector<OwnTextShare> result;
  for (const MarkerPair& pair : pairs) {
    MatchOptions options;
    options.regex = pair.regex;
    const std::unique_ptr<Matcher> start =
        MakeMatcher(pair.start, options, "start");
    const std::unique_ptr<Matcher> end = MakeMatcher(pair.end, options, "end");
    OwnTextShare share;
    std::size_t weight = 0;
    for (std::size_t p = 0; p < sample.size(); ++p) {
      if (shared.own[p] == 0) continue;
      weight += shared.own[p];
      const TokenizedPage& page = sample[p];
      CutResult cut;
      try {
        cut = CutPiece(page.text, *start, *end);
      } catch (const PatternTimeout&) {
        continue;
      }
      if (cut.outcome != FileOutcome::kExtracted) continue;
      const std::vector<Share>& shares = shared.shares[p];
      std::size_t own = 0, other = 0;
      std::ptrdiff_t first = -1, behind = -1;  // tokens in and after it
      for (std::size_t t = 0; t < page.tokens.size(); ++t) {
        const PageToken& token = page.tokens[t];
        if (token.begin < cut.piece.begin) continue;
        if (token.end > cut.piece.end) {
          behind = static_cast<std::ptrdiff_t>(t);
          break;
        }
        if (first < 0) first = static_cast<std::ptrdiff_t>(t);
        const std::size_t length = token.end - token.begin;
        if (shares[t] == Share::kOwn) own += length;
        if (shares[t] == Share::kTemplate) other += length;
      }
      // A token that the cut goes through counts as outside.
      if (first < 0) first = behind;
      if ((first > 0 && OwnTextNext(shares, first - 1, -1)) ||
          (behind >= 0 && OwnTextNext(shares, behind, 1))) {
        ++share.cut_inside;
      }
      if (own == 0) continue;
      const double held = static_cast<double>(own) / shared.own[p];
      const double precision = static_cast<double>(own) / (own + other);
      share.held += held * shared.own[p];
      share.f1 += 2 * held * precision / (held + precision) * shared.own[p];
    }
    if (weight > 0) {
      share.held /= weight;
      share.f1 /= weight;
    }
    result.push_back(share);
  }
  return result;
}

}  // namespace vantrel
