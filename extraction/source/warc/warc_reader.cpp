#include "extraction/source/warc/warc_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "extraction/source/warc/header_fields.h"
#include "extraction/source/warc/http_payload.h"

namespace vantrel::warc {

namespace {

constexpr std::string_view kRecordStart = "WARC/1.";
constexpr std::string_view kHeaderEnd = "\r\n\r\n";
constexpr std::string_view kRecordEnd = "\r\n\r\n";
// Content is read in pieces of at least this size.
constexpr std::size_t kReadPiece = 256 * 1024;
// The most of a long response's block looked at for its HTTP head.
constexpr std::size_t kHeadLook = 64 * 1024;

// The named fields of a record header that the reader uses.
struct RecordHeader {
  std::string type;
  std::string uri;
  std::string record_id;
  std::string date;
  std::string content_type;
  std::optional<std::uint64_t> content_length;
};

std::optional<std::uint64_t> Length(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::uint64_t length = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    length = length * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return length;
}

RecordHeader ParseRecordHeader(std::string_view header) {
  RecordHeader fields;
  header.remove_prefix(std::min(header.size(), header.find('\n') + 1));
  bool length_seen = false;
  while (!header.empty()) {
    const std::size_t line_end = header.find('\n');
    const std::string_view line = header.substr(0, line_end);
    header.remove_prefix(line_end == std::string_view::npos ? header.size()
                                                            : line_end + 1);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string name = Lower(Trim(line.substr(0, colon)));
    const std::string_view value = Trim(line.substr(colon + 1));
    if (name == "warc-type") {
      fields.type = Lower(value);
    } else if (name == "warc-target-uri") {
      // WARC 1.0 as wget writes it puts the URI in angle brackets.
      fields.uri =
          value.size() >= 2 && value.front() == '<' && value.back() == '>'
              ? std::string(value.substr(1, value.size() - 2))
              : std::string(value);
    } else if (name == "warc-record-id") {
      fields.record_id = value;
    } else if (name == "warc-date") {
      fields.date = value;
    } else if (name == "content-type") {
      fields.content_type = value;
    } else if (name == "content-length") {
      // Two lengths that differ leave the record's length unknown.
      const auto length = Length(value);
      fields.content_length = length_seen && fields.content_length != length
                                  ? std::nullopt
                                  : length;
      length_seen = true;
    }
  }
  return fields;
}

// Whether a record that holds no readable page deserves a line in the log:
// the usual companions of pages (warcinfo, request, metadata records, and
// responses that are not HTML) do not; a record that may stand for a page
// that is not read does.
std::optional<std::string> SkipReason(const RecordHeader& fields,
                                      std::string_view block) {
  if (fields.type == "warcinfo" || fields.type == "request" ||
      fields.type == "metadata") {
    return std::nullopt;
  }
  if (fields.type == "revisit") {
    std::string ignored;
    const auto head = ParseHttpHead(block, ignored);
    if (head && ParseMediaType(head->content_type).html) {
      return "revisit record skipped: its page is stored in an earlier "
             "record";
    }
    return std::nullopt;
  }
  if (fields.type == "conversion") {
    if (!ParseMediaType(fields.content_type).html) return std::nullopt;
    return "conversion record skipped";
  }
  if (fields.type == "continuation") {
    return "continuation record skipped: segmented records are not read";
  }
  if (fields.type.empty()) return "record without a WARC-Type skipped";
  return "record of type \"" + fields.type + "\" skipped";
}

}  // namespace

WarcReader::WarcReader(ByteInput& input, WarcLimits limits)
    : stream_(input), limits_(limits) {}

// Holds at least `count` bytes from begin_; false when the content ends
// first.
bool WarcReader::Fill(std::size_t count) {
  while (end_ - begin_ < count) {
    if (ended_) return false;
    if (begin_ > 0 && (buffer_.size() - end_ < kReadPiece ||
                       buffer_.size() - begin_ < count)) {
      std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
    }
    const std::size_t wanted = std::max(count, end_ + kReadPiece);
    if (buffer_.size() < wanted) buffer_.resize(wanted);
    const std::size_t n =
        stream_.Read(buffer_.data() + end_, buffer_.size() - end_);
    if (n == 0) ended_ = true;
    end_ += n;
  }
  return true;
}

void WarcReader::Consume(std::size_t count) {
  begin_ += count;
  at_ += count;
  if (begin_ == end_) begin_ = end_ = 0;
}

// Passes over `count` bytes, held or not, reading those not held without
// keeping them.
void WarcReader::Discard(std::uint64_t count) {
  const std::size_t held =
      static_cast<std::size_t>(std::min<std::uint64_t>(count, end_ - begin_));
  Consume(held);
  count -= held;
  while (count > 0 && !ended_) {
    if (buffer_.size() < kReadPiece) buffer_.resize(kReadPiece);
    const std::size_t n = stream_.Read(
        buffer_.data(),
        static_cast<std::size_t>(std::min<std::uint64_t>(count, kReadPiece)));
    if (n == 0) ended_ = true;
    count -= n;
    at_ += n;
  }
}

// Moves to the next record start at or behind `from` bytes into what is
// held: "WARC/1." at the start of a line or of a gzip member. False when
// the content ends first.
bool WarcReader::Resync(std::size_t from) {
  std::size_t position = from;
  for (;;) {
    const std::string_view held(buffer_.data() + begin_, end_ - begin_);
    for (std::size_t found = held.find(kRecordStart, position);
         found != std::string_view::npos;
         found = held.find(kRecordStart, found + 1)) {
      const bool member_start = std::any_of(
          stream_.member_starts().begin(), stream_.member_starts().end(),
          [&](const MemberStart& start) { return start.at == at_ + found; });
      if ((found > 0 && held[found - 1] == '\n') || member_start) {
        Consume(found);
        return true;
      }
    }
    // Keep a tail in which a record start may begin.
    const std::size_t keep = std::min(held.size(), kRecordStart.size() + 1);
    const std::size_t dropped = held.size() - keep;
    Consume(dropped);
    position = position > dropped ? position - dropped : 1;
    if (!Fill(end_ - begin_ + 1)) {
      Consume(end_ - begin_);
      return false;
    }
  }
}

// The offset by which a record at content offset `at` is named: the file
// offset of the gzip member it begins, or its content offset.
std::uint64_t WarcReader::OffsetOf(std::uint64_t at) const {
  for (const MemberStart& start : stream_.member_starts()) {
    if (start.at == at) return start.file_offset;
  }
  return at;
}

// The reason of damage that fell before content offset `end` (or at it,
// `with_end`: where what is held was cut short), taken.
bool WarcReader::TakeDamage(std::uint64_t end, bool with_end,
                            std::string& reason) {
  auto& damages = stream_.damages();
  const auto before = [&] {
    return !damages.empty() && (damages.front().at < end ||
                                (with_end && damages.front().at == end));
  };
  if (!before()) return false;
  reason = damages.front().reason;
  while (before()) damages.pop_front();
  return true;
}

WarcReader::Item WarcReader::Fail(WarcProblem& problem, std::uint64_t offset,
                                  std::string reason, std::size_t held) {
  problem.offset = offset;
  problem.reason = std::move(reason);
  TakeDamage(at_ + held, true, problem.reason);
  Resync(1);
  return Item::kProblem;
}

WarcReader::Item WarcReader::Next(WarcPage& page, WarcProblem& problem) {
  for (;;) {
    // Line breaks between records are passed over.
    for (;;) {
      if (!Fill(1)) {
        auto& damages = stream_.damages();
        if (damages.empty()) return Item::kEnd;
        problem.offset = damages.front().file_offset;
        problem.reason = std::move(damages.front().reason);
        damages.pop_front();
        return Item::kProblem;
      }
      const char c = buffer_[begin_];
      if (c != '\r' && c != '\n') break;
      Consume(1);
    }
    auto& damages = stream_.damages();
    if (!damages.empty() && damages.front().at <= at_) {
      problem.offset = damages.front().file_offset;
      problem.reason = std::move(damages.front().reason);
      damages.pop_front();
      return Item::kProblem;
    }
    stream_.ForgetBefore(at_);
    const std::uint64_t offset = OffsetOf(at_);

    if (!Fill(kRecordStart.size()) ||
        std::string_view(buffer_.data() + begin_, kRecordStart.size()) !=
            kRecordStart) {
      return Fail(problem, offset, "not the start of a WARC record",
                  end_ - begin_);
    }
    std::size_t header_length = 0;
    for (std::size_t searched = 0;;) {
      const std::string_view held(buffer_.data() + begin_, end_ - begin_);
      const std::size_t found =
          held.find(kHeaderEnd, searched < 3 ? 0 : searched - 3);
      if (found != std::string_view::npos) {
        header_length = found + kHeaderEnd.size();
        break;
      }
      searched = held.size();
      if (searched > limits_.max_header) {
        return Fail(problem, offset,
                    "record header longer than " +
                        std::to_string(limits_.max_header) + " bytes",
                    searched);
      }
      if (!Fill(searched + 1)) {
        return Fail(problem, offset, "record cut short in its header",
                    searched);
      }
    }
    const RecordHeader fields = ParseRecordHeader(
        std::string_view(buffer_.data() + begin_, header_length));
    if (!fields.content_length) {
      return Fail(problem, offset,
                  "record header without a readable Content-Length",
                  header_length);
    }
    const std::uint64_t length = *fields.content_length;
    const bool page_kind =
        fields.type == "response" || fields.type == "resource";

    if (length > limits_.max_record) {
      // Too long to hold: looked at for its kind, then passed over.
      Fill(header_length + static_cast<std::size_t>(
                               std::min<std::uint64_t>(length, kHeadLook)));
      const std::string_view start(
          buffer_.data() + begin_ + header_length,
          std::min<std::size_t>(end_ - begin_ - header_length, kHeadLook));
      bool html = false;
      if (fields.type == "response") {
        std::string ignored;
        const auto head = ParseHttpHead(start, ignored);
        html = head && ParseMediaType(head->content_type).html;
      } else if (fields.type == "resource") {
        html = ParseMediaType(fields.content_type).html;
      }
      Discard(header_length + length);
      std::string reason;
      if (!TakeDamage(at_, true, reason) && !Fill(kRecordEnd.size())) {
        reason = "record cut short: its Content-Length " +
                 std::to_string(length) + " runs past the end of the archive";
      } else if (reason.empty() &&
                 std::string_view(buffer_.data() + begin_, kRecordEnd.size()) !=
                     kRecordEnd) {
        reason = "Content-Length " + std::to_string(length) +
                 " does not end where the record does";
      }
      if (!reason.empty()) {
        problem.offset = offset;
        problem.reason = std::move(reason);
        Resync(0);
        return Item::kProblem;
      }
      Consume(kRecordEnd.size());
      if (html) {
        problem.offset = offset;
        problem.reason = "page of " + std::to_string(length) +
                         " bytes larger than the limit of " +
                         std::to_string(limits_.max_record) + " bytes";
        return Item::kProblem;
      }
      continue;
    }

    const std::size_t total =
        header_length + static_cast<std::size_t>(length) + kRecordEnd.size();
    if (!Fill(total)) {
      return Fail(problem, offset,
                  "record cut short: its Content-Length " +
                      std::to_string(length) +
                      " runs past the end of the archive",
                  end_ - begin_);
    }
    if (std::string_view(buffer_.data() + begin_ + total - kRecordEnd.size(),
                         kRecordEnd.size()) != kRecordEnd) {
      return Fail(problem, offset,
                  "Content-Length " + std::to_string(length) +
                      " does not end where the record does",
                  total);
    }
    std::string damage;
    if (TakeDamage(at_ + total, false, damage)) {
      return Fail(problem, offset, std::move(damage), total);
    }
    const std::string_view block(buffer_.data() + begin_ + header_length,
                                 static_cast<std::size_t>(length));
    if (!page_kind) {
      const auto reason = SkipReason(fields, block);
      Consume(total);
      if (!reason) continue;
      problem.offset = offset;
      problem.reason = *reason;
      return Item::kProblem;
    }
    std::string reason;
    bool read = false;
    if (fields.type == "resource") {
      const MediaType media = ParseMediaType(fields.content_type);
      if (media.html) {
        page.charset = media.charset;
        page.body.assign(block);
        read = true;
      }
    } else if (const auto head = ParseHttpHead(block, reason)) {
      const MediaType media = ParseMediaType(head->content_type);
      if (media.html) {
        page.charset = media.charset;
        read = DecodeHttpBody(*head, block.substr(head->length),
                              limits_.max_record, page.body, reason);
      }
    }
    Consume(total);
    if (!reason.empty()) {
      problem.offset = offset;
      problem.reason = std::move(reason);
      return Item::kProblem;
    }
    if (!read) continue;
    page.uri = fields.uri;
    page.record_id = fields.record_id;
    page.date = fields.date;
    page.offset = offset;
    return Item::kPage;
  }
}

}  // namespace vantrel::warc
