#include "extraction/suggest/template_groups.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace vantrel {
namespace {

// The similarity from which two pages count as one template's. Pages of one
// template share their frame and most of the tags their content is made of;
// a stub or an index page shares little beyond the head.
constexpr double kAlike = 0.4;

std::vector<std::uint64_t> TagKeys(const TokenizedPage& page) {
  std::vector<std::uint64_t> keys;
  for (const PageToken& token : page.tokens) {
    if (token.kind == PageToken::Kind::kTag) keys.push_back(token.key);
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

double Jaccard(const std::vector<std::uint64_t>& a,
               const std::vector<std::uint64_t>& b) {
  if (a.empty() && b.empty()) return 1;
  std::size_t common = 0;
  for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
    if (a[i] < b[j]) {
      ++i;
    } else if (b[j] < a[i]) {
      ++j;
    } else {
      ++common, ++i, ++j;
    }
  }
  return static_cast<double>(common) /
         static_cast<double>(a.size() + b.size() - common);
}

// The keys that stand exactly once on the page.
std::vector<std::uint64_t> SingleKeys(const TokenizedPage& page) {
  std::vector<std::uint64_t> keys;
  keys.reserve(page.tokens.size());
  for (const PageToken& token : page.tokens) keys.push_back(token.key);
  std::sort(keys.begin(), keys.end());
  std::vector<std::uint64_t> singles;
  for (std::size_t i = 0; i < keys.size();) {
    std::size_t j = i;
    while (j < keys.size() && keys[j] == keys[i]) ++j;
    if (j - i == 1) singles.push_back(keys[i]);
    i = j;
  }
  return singles;
}

// Of the pages of a group, how many must hold a token once for it to count
// as the template's (a folder may hold a good share of other pages), and
// how many of those a page must hold to stay.
constexpr double kMost = 0.7;
constexpr double kNearlyAll = 0.8;

}  // namespace

std::vector<std::size_t> WithoutOutliers(
    const std::vector<TokenizedPage>& pages,
    const std::vector<std::size_t>& group) {
  std::vector<std::vector<std::uint64_t>> singles;
  std::unordered_map<std::uint64_t, std::size_t> pages_with;
  for (const std::size_t i : group) {
    singles.push_back(SingleKeys(pages[i]));
    for (const std::uint64_t key : singles.back()) ++pages_with[key];
  }
  const double needed = kMost * static_cast<double>(group.size());
  std::size_t common = 0;
  for (const auto& [key, count] : pages_with) common += count >= needed;
  std::vector<std::size_t> kept;
  for (std::size_t j = 0; j < group.size(); ++j) {
    std::size_t held = 0;
    for (const std::uint64_t key : singles[j])
      held += pages_with[key] >= needed;
    if (held >= kNearlyAll * static_cast<double>(common)) {
      kept.push_back(group[j]);
    }
  }
  return 2 * kept.size() > group.size() ? kept : group;
}

namespace {

// A page far shorter than most of the longer pages, or one that sends the
// browser elsewhere, is a stub: a folder may hold many more of them than
// pages with content, in the site's own head, so that they look alike.
constexpr std::size_t kStubShare = 10;

bool Redirects(const TokenizedPage& page) {
  for (const PageToken& token : page.tokens) {
    if (token.kind != PageToken::Kind::kTag) continue;
    const std::u16string_view tag = std::u16string_view(page.text).substr(
        token.begin, token.end - token.begin);
    const auto equiv = AttributeValue(tag, u"http-equiv");
    if (equiv && *equiv == u"refresh") return true;
  }
  return false;
}

std::vector<bool> Stubs(const std::vector<TokenizedPage>& pages) {
  std::vector<std::size_t> lengths;
  for (const TokenizedPage& page : pages) lengths.push_back(page.text.size());
  std::sort(lengths.begin(), lengths.end());
  const std::size_t long_page =
      lengths.empty() ? 0 : lengths[lengths.size() * 9 / 10];
  std::vector<bool> stubs;
  for (const TokenizedPage& page : pages) {
    stubs.push_back(kStubShare * page.text.size() < long_page ||
                    Redirects(page));
  }
  return stubs;
}

}  // namespace

std::vector<std::vector<std::size_t>> GroupByTemplate(
    const std::vector<TokenizedPage>& pages) {
  const std::size_t n = pages.size();
  // Stubs make a group of their own, before pages are compared.
  std::vector<bool> taken = Stubs(pages);
  std::vector<std::size_t> stubs;
  for (std::size_t i = 0; i < n; ++i) {
    if (taken[i]) stubs.push_back(i);
  }
  std::vector<std::vector<std::uint64_t>> keys;
  keys.reserve(n);
  for (const TokenizedPage& page : pages) keys.push_back(TagKeys(page));
  std::vector<std::vector<bool>> alike(n, std::vector<bool>(n, false));
  for (std::size_t i = 0; i < n; ++i) {
    alike[i][i] = true;
    for (std::size_t j = i + 1; j < n; ++j) {
      alike[i][j] = alike[j][i] = Jaccard(keys[i], keys[j]) >= kAlike;
    }
  }
  std::vector<std::vector<std::size_t>> groups;
  for (std::size_t left = n - stubs.size(); left > 0;) {
    std::size_t seed = n, most = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (taken[i]) continue;
      std::size_t count = 0;
      for (std::size_t j = 0; j < n; ++j) count += !taken[j] && alike[i][j];
      if (seed == n || count > most) seed = i, most = count;
    }
    std::vector<std::size_t> group;
    for (std::size_t j = 0; j < n; ++j) {
      if (!taken[j] && alike[seed][j]) {
        group.push_back(j);
        taken[j] = true;
      }
    }
    left -= group.size();
    groups.push_back(std::move(group));
  }
  if (!stubs.empty()) groups.push_back(std::move(stubs));
  std::stable_sort(
      groups.begin(), groups.end(),
      [](const auto& a, const auto& b) { return a.size() > b.size(); });
  return groups;
}

}  // namespace vantrel
