#include "extraction/output/page_names.h"

#include <cstdint>
#include <vector>

namespace vantrel {
namespace {

constexpr std::size_t kLongestSegment = 100;

std::string Hash(std::string_view text) {
  // FNV-1a: stable across machines and runs, which the names must be.
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : text) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) hex[i] = kHex[hash & 15];
  return hex;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = Lower(c);
  return lower;
}

bool Kept(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x80) return true;  // UTF-8 names stay as they are
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
      (c >= '0' && c <= '9')) {
    return true;
  }
  return std::string_view("-._~!$&'()+,;=@%").find(c) != std::string_view::npos;
}

std::string Safe(std::string_view segment) {
  std::string safe;
  for (const char c : segment) safe += Kept(c) ? c : '_';
  if (safe.starts_with('.')) safe.insert(safe.begin(), '_');
  if (safe.size() > kLongestSegment) {
    safe = safe.substr(0, kLongestSegment) + "~" + Hash(segment);
  }
  return safe;
}

bool PageLike(std::string_view name) {
  const std::string lower = Lowered(name);
  return lower.ends_with(".htm") || lower.ends_with(".html") ||
         lower.ends_with(".xhtml");
}

// Where the extension of a page's file name begins.
std::size_t ExtensionAt(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos || dot == 0 ? name.size() : dot;
}

}  // namespace

std::string PageNames::For(std::string_view uri) {
  uri = uri.substr(0, uri.find('#'));
  std::string_view query;
  if (const std::size_t mark = uri.find('?'); mark != std::string_view::npos) {
    query = uri.substr(mark + 1);
    uri = uri.substr(0, mark);
  }
  std::string host;
  std::string_view path = uri;
  if (const std::size_t scheme = uri.find("://");
      scheme != std::string_view::npos) {
    const std::string_view rest = uri.substr(scheme + 3);
    const std::size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    if (const std::size_t at = authority.rfind('@');
        at != std::string_view::npos) {
      authority.remove_prefix(at + 1);
    }
    for (const char c : authority) host += c == ':' ? '_' : Lower(c);
    path = slash == std::string_view::npos ? std::string_view()
                                           : rest.substr(slash);
  } else if (const std::size_t colon = uri.find(':');
             colon != std::string_view::npos) {
    path = uri.substr(colon + 1);  // urn:..., mailto:...
  }
  host = Safe(host);
  if (host.empty() || host == "_.") host = "_";

  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = path.find('/', start);
    const std::string_view segment =
        path.substr(start, slash == std::string_view::npos ? std::string::npos
                                                           : slash - start);
    if (!segment.empty()) segments.push_back(Safe(segment));
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  if (path.empty() || path.ends_with('/')) segments.push_back("index");
  std::string last = std::move(segments.back());
  segments.pop_back();
  if (!PageLike(last)) last += ".htm";
  if (!query.empty()) last.insert(ExtensionAt(last), "~" + Hash(query));

  std::string name = host + "/";
  for (std::string& folder : segments) {
    if (PageLike(folder)) folder += '_';
    name += folder + "/";
  }
  const std::string stem = name + last.substr(0, ExtensionAt(last));
  const std::string extension =
      extension_.empty() ? last.substr(ExtensionAt(last)) : extension_;
  name = stem + extension;
  for (int n = 2; !taken_.insert(Lowered(name)).second; ++n) {
    name = stem + " (" + std::to_string(n) + ")" + extension;
  }
  return name;
}

}  // namespace vantrel
