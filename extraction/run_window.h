// The window as an extraction run sees it.
//
// A run reads its four input texts and the tick box from the window, and
// shows its log, summary, progress bar and busy pointer on it. It does all of
// that through this interface and nothing else, so the same run drives the
// Qt window, the command line and the tests' recording window. The method
// names follow the controls they stand for (Text1 to Text5, Check1, Label6,
// Line2).
#ifndef VANTREL_EXTRACTION_RUN_WINDOW_H_
#define VANTREL_EXTRACTION_RUN_WINDOW_H_

#include <string>
#include <string_view>

namespace vantrel {

class RunWindow {
 public:
  virtual ~RunWindow() = default;

  // The start marker (Text1), end marker (Text2), folder (Text3) and
  // extension (Text4), exactly as they stand in the window.
  virtual std::u16string Text1() const = 0;
  virtual std::u16string Text2() const = 0;
  virtual std::u16string Text3() const = 0;
  virtual std::u16string Text4() const = 0;
  // True when "Put found strings in separated files." is ticked.
  virtual bool Check1() const = 0;

  // The message log (Text5): emptied at the start of a run, then only ever
  // appended to. `text` carries its own CR LF line ends.
  virtual void ClearText5() = 0;
  virtual void AppendText5(std::u16string_view text) = 0;

  // The red summary line.
  virtual void SetLabel6(std::u16string_view caption) = 0;

  // The right end of the blue progress bar, in twips: 130 is an empty bar,
  // 3400 a full one.
  virtual void SetLine2X2(int x2) = 0;

  // Repaint requests made after each extracted piece; a window that paints
  // on its own schedule may ignore them.
  virtual void RedrawLine2() = 0;
  virtual void RedrawText5() = 0;

  // The busy pointer while a run works, the default pointer otherwise.
  virtual void SetBusyPointer(bool busy) = 0;

  // Told after each examined file of the second pass (extracted or failed),
  // for front ends that show a count of files done. The run's displays do
  // not depend on it.
  virtual void FileDone(int /*done*/, int /*matching*/) {}
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_WINDOW_H_
