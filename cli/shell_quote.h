// Words for a command line that a user pastes into bash: each gives back
// exactly the bytes it was made from, whatever they hold.
#ifndef VANTREL_CLI_SHELL_QUOTE_H_
#define VANTREL_CLI_SHELL_QUOTE_H_

#include <string>
#include <string_view>

namespace vantrel::cli {

// `bytes` in bash's ANSI-C quoting, $'...': CR, LF and tab as \r, \n and
// \t, the backslash and the quote as \\ and \', and every other control
// character (C0, DEL, and C1 in UTF-8) as \xHH for each of its bytes, so
// that nothing in the word acts on the terminal it is shown on. Any other
// byte, UTF-8 or not, stands as itself.
std::string AnsiCQuoted(std::string_view bytes);

// `bytes` as one shell word: as it stands when it holds only characters
// that no shell takes for anything but themselves, else as AnsiCQuoted.
std::string ShellWord(std::string_view bytes);

}  // namespace vantrel::cli

#endif  // VANTREL_CLI_SHELL_QUOTE_H_
