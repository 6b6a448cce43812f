// A window for tests: its inputs are plain fields, and every call the run
// makes on its displays is written down, in order, as one line of text, so
// that a single comparison checks a run's whole transcript.
#ifndef VANTREL_TESTS_SUPPORT_RECORDING_WINDOW_H_
#define VANTREL_TESTS_SUPPORT_RECORDING_WINDOW_H_

#include <string>

#include "extraction/defaults.h"
#include "extraction/run_window.h"

namespace vantrel::testing {

class RecordingWindow : public RunWindow {
 public:
  // The inputs, as the window holds them; the markers and the extension
  // start as the window's start-up values.
  RunInputs inputs{std::u16string(kDefaultStartMarker),
                   std::u16string(kDefaultEndMarker), u"",
                   std::u16string(kDefaultExtension), false};
  RunInputs Inputs() const override { return inputs; }

  void ClearText5() override;
  void AppendText5(std::u16string_view text) override;
  void SetLabel6(std::u16string_view caption) override;
  void SetLine2X2(int x2) override;
  void RedrawLine2() override;
  void RedrawText5() override;
  void SetBusyPointer(bool busy) override;

  // Every display call so far, one per line, in UTF-8, with CR and LF inside
  // texts shown as \r and \n:
  //   Text5 = ""            Text5 += "Haven't end: a.htm\r\n"
  //   Label6 = "3 checked, 0 didn't find."
  //   Line2.X2 = 1220       redraw Line2      redraw Text5
  //   pointer busy          pointer default
  std::string transcript;

  // What the displays show now.
  std::u16string log;
  std::u16string summary;
  int x2 = 130;
  bool busy = false;

 private:
  void Record(const std::string& line);
};

}  // namespace vantrel::testing

#endif  // VANTREL_TESTS_SUPPORT_RECORDING_WINDOW_H_
