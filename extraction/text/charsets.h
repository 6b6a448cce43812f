// The four charset names, how a source's first bytes choose one, how each
// decodes a source, and how the output is encoded.
//
// "unicode" is UTF-16 little-endian, "utf-16" UTF-16 big-endian (FE FF is
// its signature), "utf-8" UTF-8 and "windows-1256" the Arabic Windows code
// page, which is also what any file without a signature is taken to be.
// The output is UTF-16 little-endian with a signature, except for a
// windows-1256 run, whose output is windows-1256 again, so that such a
// source's bytes come back unchanged.
#ifndef VANTREL_EXTRACTION_TEXT_CHARSETS_H_
#define VANTREL_EXTRACTION_TEXT_CHARSETS_H_

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

// The charsets a source can be read in.
enum class Charset {
  kUtf16Le,      // "unicode": UTF-16 little-endian, signature FF FE
  kUtf16Be,      // "utf-16": UTF-16 big-endian, signature FE FF
  kUtf8,         // "utf-8": signature EF BB BF
  kWindows1256,  // "windows-1256": anything without a signature
};

// Every name a charset goes by.
struct CharsetNames {
  Charset charset;
  // As SourceCharset and OutCharset hold it: "unicode".
  std::u16string_view name;
  // As people know it: "UTF-16LE".
  std::string_view label;
  // The label in lower case, as options take it and reports for programs
  // give it: "utf-16le".
  std::string_view option_name;
};

// The four charsets' names, in the order a list of them shows them.
std::span<const CharsetNames> AllCharsetNames();

// The charset's name, as SourceCharset and OutCharset hold it.
std::u16string_view CharsetName(Charset charset);

// The charset as people know it: "UTF-16LE", "UTF-16BE", "UTF-8",
// "windows-1256".
std::string_view CharsetLabel(Charset charset);

// The charset's label in lower case: "utf-16le".
std::string_view CharsetOptionName(Charset charset);

// The charset whose option name is `option_name`, exactly; nothing for a
// name that none has.
std::optional<Charset> CharsetWithOptionName(std::string_view option_name);

// The charset named by the first bytes of a file (only three are looked at).
Charset DetectCharset(std::string_view first_bytes);

// Decodes a whole source in the charset into `text` (replacing its
// content). A leading signature of that charset is left out. Invalid UTF-8
// becomes U+FFFD per ill-formed sequence; UTF-16 keeps unpaired surrogates
// and turns an odd last byte into U+FFFD.
void DecodeText(std::string_view bytes, Charset charset, std::u16string& text);

// Decodes as DecodeText does into the start of `buffer`, and returns how
// many of its units hold the text. The buffer grows as needed and never
// shrinks, so that one buffer serves a run's sources one after another
// without being filled again for each.
std::size_t DecodeTextInto(std::string_view bytes, Charset charset,
                           std::u16string& buffer);

// DecodeTextInto for bytes from inside a source, where no signature is
// looked for: the piece between two markers, or a part of it. The units go
// behind the first `at` units of the buffer, which stay as they are; the
// count returned leaves those out.
std::size_t DecodePieceInto(std::string_view bytes, Charset charset,
                            std::u16string& buffer, std::size_t at = 0);

// The signature that a source of the charset may begin with (none for
// windows-1256).
std::string_view SignatureOf(Charset charset);

// The bytes that `text` stands as in a source of the charset, when finding
// them among its bytes (after any signature) is finding `text` in its
// decoded text: the first place in the bytes is the first in the text, and
// what lies between two such places decodes on its own as it does in the
// whole. UTF-8 gives them for a text without U+FFFD (which also stands for
// ill-formed bytes) and without unpaired surrogates; windows-1256 for a
// text whose every character is one byte that no other byte decodes to
// (code_page.h). Nothing otherwise, and for the UTF-16 charsets.
std::optional<std::string> SearchableBytes(std::u16string_view text,
                                           Charset charset);

enum class OutputFormat {
  kUtf16Le,      // UTF-16 little-endian, begun with the signature FF FE
  kWindows1256,  // 8-bit text in windows-1256
  kUtf8,         // UTF-8 without a signature
};

// The output format of a run that reads its sources in `charset`: 8-bit
// for windows-1256, UTF-16 for every other charset.
OutputFormat OutputFormatFor(Charset charset);

// The bytes that begin a new output file of the format.
std::string_view Signature(OutputFormat format);

// The format's name as --out-charset and reports give it: "utf-16le",
// "windows-1256" or "utf-8".
std::string_view OutputFormatName(OutputFormat format);

// Appends `text` encoded in the format to `bytes`. In windows-1256, a
// character that the code page lacks becomes "?".
void EncodeText(std::u16string_view text, OutputFormat format,
                std::string& bytes);

// The bytes of `text` in the format. UTF-16 little-endian on a
// little-endian machine is the text's own memory, viewed in place; anything
// else is encoded into `scratch` (replacing its content).
std::string_view EncodedBytes(std::u16string_view text, OutputFormat format,
                              std::string& scratch);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_TEXT_CHARSETS_H_
