// The HTML parser behind html_parser.h: gumbo, which follows the HTML5
// parsing rules.
#include <gumbo.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "extraction/match/tag_cut.h"
#include "extraction/transform/html_parser.h"

namespace vantrel {
namespace {

// The memory of one parse. Gumbo makes a small block for every node, text
// and attribute, and grows its buffers by making a larger block and giving
// back the smaller one; with malloc, that and the walk that frees the tree
// afterwards are a large share of a parse. Here blocks are cut from large
// chunks, a block given back is kept for the next one of its size, and the
// whole tree goes at once when the parse is over. Each thread keeps its own
// (a run converts pieces on two), and keeps only a little of it between
// parses, so that a large piece's tree is not held after it is written.
class ParseArena {
 public:
  static void* Allocate(void* arena, std::size_t size) {
    return static_cast<ParseArena*>(arena)->Take(size);
  }
  static void Deallocate(void* arena, void* block) {
    if (block != nullptr) static_cast<ParseArena*>(arena)->Give(block);
  }

  // Forgets every block; chunks beyond the first few are freed.
  void Reset() {
    chunks_.resize(std::min(chunks_.size(), kKeptChunks));
    large_.clear();
    free_.fill(nullptr);
    begun_ = 0;
    next_ = end_ = nullptr;
  }

 private:
  // Every block begins with a header that tells its size class. Gumbo's
  // structures hold pointers and integers, nothing aligned wider than 8
  // bytes: blocks are aligned to 8, which keeps a tree of small nodes
  // smaller than malloc's 16 would.
  static constexpr std::size_t kAlign = alignof(std::uint64_t);
  static constexpr std::size_t kHeader = kAlign;
  // Classes 1 to 128 hold up to 8 x class bytes; from 129 on, powers of
  // two from 2 KiB.
  static constexpr std::size_t kSmallStep = kAlign;
  static constexpr std::size_t kSmallClasses = 128;
  static constexpr std::size_t kClasses = kSmallClasses + 48;
  static constexpr std::size_t kChunk = std::size_t{64} << 10;
  // A block larger than this has a chunk of its own.
  static constexpr std::size_t kLargest = kChunk / 4;
  static constexpr std::size_t kKeptChunks = 16;

  using Chunk = std::unique_ptr<std::byte[]>;

  static std::size_t ClassOf(std::size_t size) {
    if (size <= kSmallStep * kSmallClasses) {
      return std::max<std::size_t>(1, (size + kSmallStep - 1) / kSmallStep);
    }
    // 2 KiB is the first class after the small ones.
    return kSmallClasses + std::bit_width(size - 1) - 10;
  }
  static std::size_t SizeOf(std::size_t size_class) {
    if (size_class <= kSmallClasses) return size_class * kSmallStep;
    return std::size_t{1} << (size_class - kSmallClasses + 10);
  }

  void* Take(std::size_t size) {
    const std::size_t size_class = ClassOf(size);
    std::byte* block;
    if (void* given = free_[size_class]) {
      free_[size_class] = *static_cast<void**>(given);
      block = static_cast<std::byte*>(given) - kHeader;
    } else {
      block = Cut(kHeader + SizeOf(size_class));
    }
    *reinterpret_cast<std::size_t*>(block) = size_class;
    return block + kHeader;
  }

  void Give(void* given) {
    const std::size_t size_class = *reinterpret_cast<std::size_t*>(
        static_cast<std::byte*>(given) - kHeader);
    *static_cast<void**>(given) = free_[size_class];
    free_[size_class] = given;
  }

  // `size` bytes (a multiple of kAlign) from the chunks.
  std::byte* Cut(std::size_t size) {
    if (size > kLargest) {
      large_.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
      return large_.back().get();
    }
    if (static_cast<std::size_t>(end_ - next_) < size) {
      if (begun_ == chunks_.size()) {
        chunks_.push_back(std::make_unique_for_overwrite<std::byte[]>(kChunk));
      }
      next_ = chunks_[begun_++].get();
      end_ = next_ + kChunk;
    }
    std::byte* const block = next_;
    next_ += size;
    return block;
  }

  std::vector<Chunk> chunks_;  // of kChunk bytes, kept between parses
  std::vector<Chunk> large_;   // one block each
  std::size_t begun_ = 0;      // chunks that blocks were cut from
  std::byte* next_ = nullptr;  // the rest of the last chunk begun
  std::byte* end_ = nullptr;
  // Per size class, the blocks given back, each holding the next.
  std::array<void*, kClasses> free_{};
};

std::string_view NameOf(const GumboElement& element) {
  if (element.tag != GUMBO_TAG_UNKNOWN) {
    return gumbo_normalized_tagname(element.tag);
  }
  // An element gumbo has no name for: its name as written, which the
  // converter treats as inline whatever its case.
  GumboStringPiece written = element.original_tag;
  gumbo_tag_from_original_text(&written);
  return {written.data, written.length};
}

const GumboNode& ChildOf(const GumboElement& element, unsigned i) {
  return *static_cast<const GumboNode*>(element.children.data[i]);
}

// Walks the content of `root` in document order. The open elements are
// kept on a stack of their own rather than the call stack, so that a piece
// of a hundred thousand nested elements is walked like any other.
void WalkChildren(const GumboElement& root, HtmlWalker& walker) {
  struct Open {
    const GumboElement* element;
    std::string_view name;
    unsigned next;  // the next child to walk
  };
  std::vector<Open> open = {{&root, {}, 0}};
  while (true) {
    Open& top = open.back();
    if (top.next == top.element->children.length) {
      if (open.size() == 1) return;
      walker.Leave(top.name);
      open.pop_back();
      continue;
    }
    const GumboNode& node = ChildOf(*top.element, top.next++);
    switch (node.type) {
      case GUMBO_NODE_TEXT:
      case GUMBO_NODE_WHITESPACE:
      case GUMBO_NODE_CDATA:
        walker.Text(node.v.text.text);
        break;
      case GUMBO_NODE_ELEMENT:
      case GUMBO_NODE_TEMPLATE: {
        const GumboElement& element = node.v.element;
        const std::string_view name = NameOf(element);
        const GumboAttribute* alt =
            element.tag == GUMBO_TAG_IMG
                ? gumbo_get_attribute(&element.attributes, "alt")
                : nullptr;
        if (walker.Enter(name, alt != nullptr ? alt->value : "")) {
          open.push_back({&element, name, 0});
        }
        break;
      }
      case GUMBO_NODE_DOCUMENT:
      case GUMBO_NODE_COMMENT:
        break;
    }
  }
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsNameEnd(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' ||
         c == '/' || c == '>';
}

template <std::size_t N>
bool IsOneOf(std::string_view name,
             const std::array<std::string_view, N>& names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Elements that hold nothing, or whose end tag may be left out: a parser
// closes them by itself, so they add no depth that lasts.
constexpr std::array<std::string_view, 31> kUncounted = {
    "area", "base", "br",    "col",    "embed",    "hr",    "img",    "input",
    "link", "meta", "param", "source", "track",    "wbr",   "keygen", "p",
    "li",   "dt",   "dd",    "option", "optgroup", "rb",    "rt",     "rp",
    "rtc",  "tr",   "td",    "th",     "tbody",    "thead", "tfoot"};
// Elements whose content is text up to their end tag, never tags.
constexpr std::array<std::string_view, 9> kRawText = {
    "script", "style",   "textarea", "title",   "xmp",
    "iframe", "noembed", "noframes", "noscript"};

// `html` with the tags of elements nested deeper than kMaxHtmlDepth
// dropped, in `bounded` when any is; `html` itself otherwise. The depth is
// read from the tags alone: each end tag closes the nearest open element
// of its name and those opened inside it, and an end tag with none open is
// passed over, as the parser does.
std::string_view WithBoundedDepth(std::string_view html, std::string& bounded) {
  // Fewer tags than the bound cannot pass it.
  if (static_cast<std::size_t>(std::count(html.begin(), html.end(), '<')) <=
      kMaxHtmlDepth) {
    return html;
  }
  constexpr std::size_t npos = std::string_view::npos;
  std::vector<std::string> open;  // names, lower-case
  // How many of each name are open: an end tag of a name none is open of
  // is passed over without a look through the open elements.
  std::unordered_map<std::string, std::size_t> open_count;
  std::string name;
  std::size_t copied = 0;  // html before it is in `bounded`
  bool dropped = false;
  const auto drop = [&](std::size_t begin, std::size_t end) {
    bounded.append(html.substr(copied, begin - copied));
    copied = end;
    dropped = true;
  };
  std::size_t at = 0;
  while ((at = html.find('<', at)) != npos && at + 1 < html.size()) {
    const std::size_t tag = at;
    const char next = html[at + 1];
    if (html.substr(at, 4) == "<!--") {
      const std::size_t end = html.find("-->", at + 4);
      at = end == npos ? html.size() : end + 3;
      continue;
    }
    if (next == '!' || next == '?') {
      const std::size_t end = html.find('>', at + 2);
      at = end == npos ? html.size() : end + 1;
      continue;
    }
    const bool end_tag = next == '/';
    std::size_t name_end = at + 1 + (end_tag ? 1 : 0);
    if (name_end == html.size() || !IsAsciiLetter(html[name_end])) {
      ++at;
      continue;
    }
    name.clear();
    for (; name_end < html.size() && !IsNameEnd(html[name_end]); ++name_end) {
      const char c = html[name_end];
      name.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
    }
    const std::string_view rest = html.substr(name_end);
    const std::size_t close = name_end + CutTagLength(rest, TagCut::kInTag);
    at = close;
    if (IsOneOf(name, kUncounted)) continue;
    if (end_tag) {
      const auto count = open_count.find(name);
      if (count == open_count.end() || count->second == 0) continue;
      std::size_t i = open.size();
      while (open[--i] != name) {
      }
      for (std::size_t j = i; j < open.size(); ++j) --open_count[open[j]];
      open.resize(i);
      if (i >= kMaxHtmlDepth) drop(tag, close);
      continue;
    }
    if (IsOneOf(name, kRawText)) {
      // Its content is passed over up to an end tag of its name.
      const std::string end = "</" + name;
      while (at < html.size()) {
        at = html.find("</", at);
        if (at == npos) {
          at = html.size();
          break;
        }
        const std::string_view candidate = html.substr(at, end.size());
        if (candidate.size() == end.size() &&
            std::equal(candidate.begin(), candidate.end(), end.begin(),
                       [](char a, char b) {
                         return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b;
                       })) {
          break;
        }
        at += 2;
      }
      continue;
    }
    if (close - tag >= 2 && html[close - 2] == '/' && html[close - 1] == '>') {
      continue;  // self-closing
    }
    open.push_back(name);
    ++open_count[name];
    if (open.size() > kMaxHtmlDepth) drop(tag, close);
  }
  if (!dropped) return html;
  bounded.append(html.substr(copied));
  return bounded;
}

}  // namespace

void WalkHtmlFragment(std::string_view utf8, HtmlWalker& walker) {
  thread_local ParseArena arena;
  GumboOptions options = kGumboDefaultOptions;
  options.allocator = &ParseArena::Allocate;
  options.deallocator = &ParseArena::Deallocate;
  options.userdata = &arena;
  options.fragment_context = GUMBO_TAG_BODY;
  options.fragment_namespace = GUMBO_NAMESPACE_HTML;
  // Errors are of no use here; recording them costs time on broken pages.
  options.max_errors = 0;
  // The tree goes with the arena's reset, whatever happens: no walk over
  // it to free it node by node.
  const auto reset = [](ParseArena* a) { a->Reset(); };
  const std::unique_ptr<ParseArena, decltype(reset)> reset_after(&arena, reset);
  std::string bounded;
  const std::string_view html = WithBoundedDepth(utf8, bounded);
  const GumboOutput* output =
      gumbo_parse_with_options(&options, html.data(), html.size());
  // A fragment's content lies under the root (the context element's
  // stand-in), whose own name is not the piece's.
  WalkChildren(output->root->v.element, walker);
}

}  // namespace vantrel
