// The window as an extraction run sees it.
//
// A run reads its inputs from the window once, when it starts, and shows
// its log, summary, progress bar and busy pointer on it. It does all of
// that through this interface and nothing else, so the same run drives the
// Qt window, the command line and the tests' recording window. Only Inputs
// must be written; every display does nothing unless a front end shows it.
// The display names follow the controls they stand for (Text5, Label6,
// Line2).
#ifndef VANTREL_EXTRACTION_RUN_WINDOW_H_
#define VANTREL_EXTRACTION_RUN_WINDOW_H_

#include <string_view>

#include "extraction/file_report.h"
#include "extraction/run_inputs.h"

namespace vantrel {

class RunWindow {
 public:
  virtual ~RunWindow() = default;

  // The inputs as they stand in the window, read once at the start of each
  // run; nothing can change them while it works.
  virtual RunInputs Inputs() const = 0;

  // The message log (Text5): emptied at the start of a run, then only ever
  // appended to. `text` carries its own CR LF line ends.
  virtual void ClearText5() {}
  virtual void AppendText5(std::u16string_view /*text*/) {}

  // The red summary line.
  virtual void SetLabel6(std::u16string_view /*caption*/) {}

  // The right end of the blue progress bar, in twips: 130 is an empty bar,
  // 3400 a full one.
  virtual void SetLine2X2(int /*x2*/) {}

  // Repaint requests made after each extracted piece; a window that paints
  // on its own schedule may ignore them.
  virtual void RedrawLine2() {}
  virtual void RedrawText5() {}

  // The busy pointer while a run works, the default pointer otherwise.
  virtual void SetBusyPointer(bool /*busy*/) {}

  // Told after each examined file of the second pass, once its log line or
  // its piece is done, for front ends that report more than the window
  // shows. The run's displays do not depend on it. A file that gave no
  // piece always comes with its whole text and its cut; one that gave its
  // piece may come without its text (file_report.h).
  virtual void FileExamined(const FileReport& /*report*/) {}

  // Told, in its place among the files, of a sub-folder that could not be
  // listed in a run that keeps going past it, with the system's reason. Its
  // files are not counted; its log line is written.
  virtual void FolderUnreadable(std::u16string_view /*name*/,
                                std::u16string_view /*reason*/) {}

  // True when FileExamined must get every file's whole text and exact cut,
  // pieces or not. Asked once when a run starts; a run that need not decode
  // whole texts is faster, so only front ends that use them should ask.
  virtual bool WantsFileTexts() const { return false; }
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_WINDOW_H_
