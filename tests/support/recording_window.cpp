#include "tests/support/recording_window.h"

#include "extraction/text/text.h"

namespace vantrel::testing {
namespace {

std::string Quoted(std::u16string_view text) {
  std::string out = "\"";
  for (char c : TextToUtf8(text)) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

void RecordingWindow::Record(const std::string& line) {
  transcript += line;
  transcript += '\n';
}

void RecordingWindow::ClearText5() {
  log.clear();
  Record("Text5 = \"\"");
}

void RecordingWindow::AppendText5(std::u16string_view text) {
  log += text;
  Record("Text5 += " + Quoted(text));
}

void RecordingWindow::SetLabel6(std::u16string_view caption) {
  summary = caption;
  Record("Label6 = " + Quoted(caption));
}

void RecordingWindow::SetLine2X2(int value) {
  x2 = value;
  Record("Line2.X2 = " + std::to_string(value));
}

void RecordingWindow::RedrawLine2() { Record("redraw Line2"); }
void RecordingWindow::RedrawText5() { Record("redraw Text5"); }

void RecordingWindow::SetBusyPointer(bool value) {
  busy = value;
  Record(value ? "pointer busy" : "pointer default");
}

}  // namespace vantrel::testing
