// File names and paths between the file system's bytes and the engine's text.
//
// Linux names are bytes, usually but not always UTF-8. The engine works on
// text, so a name's bytes are turned into text without losing any: each byte
// of an ill-formed UTF-8 sequence becomes the unpaired surrogate U+DC80 to
// U+DCFF, and turns back into the same byte on the way out. A source is thus
// read, and written in separated mode, under its exact name. What a person
// sees of a name (DisplayName) shows such bytes, and any control character,
// as U+FFFD, so that no name can forge a log line or steer a terminal.
#ifndef VANTREL_EXTRACTION_TEXT_NATIVE_NAMES_H_
#define VANTREL_EXTRACTION_TEXT_NATIVE_NAMES_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// What separates the names in a text path, as in every Linux path.
inline constexpr char16_t kSeparator = u'/';

// Bytes of a name or path to text, losslessly.
std::u16string NativeToText(std::string_view bytes);

// Text back to the bytes it came from. Unpaired surrogates other than the
// escaped bytes become U+FFFD.
std::string TextToNative(std::u16string_view text);

// A path of the file system for a text path.
std::filesystem::path NativePath(std::u16string_view text);

// The text of a path of the file system.
std::u16string PathText(const std::filesystem::path& path);

// A name or path as it is shown in the log and in error descriptions.
std::u16string DisplayName(std::u16string_view text);

// The bytes of a name that is not valid UTF-8, in hex ("6162ff"), which
// JSON reports give beside the name shown with U+FFFD; nothing for a name
// that is valid UTF-8.
std::optional<std::string> NameBytesInHex(std::u16string_view text);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_TEXT_NATIVE_NAMES_H_
