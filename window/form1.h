// Form1, Vantrel's one window.
//
// It holds the five inputs of an extraction run (start marker, end marker,
// folder, extension, the separated-files tick box), the "..." and "GO!"
// buttons, the message log, the red summary line, the progress bar and a
// picture. "GO!" runs the engine's extraction on the window's inputs, on a
// worker thread, and shows what the run tells (the RunSink events) on the
// log, the summary, the bar and the pointer, at most once a frame; "..."
// fills the folder field from a folder chooser. The marker boxes' context
// menus suggest markers for the folder's pages, on the same worker thread.
// Escape or closing the window stops a run between two files and a
// suggestion between two pages. The window reads and writes no file of its
// own.
#ifndef VANTREL_WINDOW_FORM1_H_
#define VANTREL_WINDOW_FORM1_H_

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/run.h"
#include "window/folder_chooser.h"

class QCheckBox;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QShortcut;

namespace vantrel::window {

class LineControl;
class LogBox;
class MarkerBox;
class MarkerPair;
class RunControl;
class RunRelay;
class SuggestionRelay;

class Form1 : public QWidget {
  Q_OBJECT

 public:
  // `chooser` answers the "..." button; tests put a stand-in there.
  explicit Form1(FolderChooser chooser = ChooseFolderInDialog);
  ~Form1() override;

  // Shows the window centred on its screen.
  void ShowCentred();

  // Event handlers and methods under the names the product gives them.
  void Form_Load();
  void Command1_Click();
  void Command2_Click();
  QString BrowseFolder(const QString& szDialogTitle);

  // Puts a folder given from outside (the command line, a drop) in the
  // folder field: a file as the folder it is in, anything else (a folder,
  // or a path where there is nothing, which a run then says it did not
  // find) as itself, without a trailing separator; made absolute either
  // way. Nothing else changes.
  void OpenFolder(const QString& path);

  // The input fields as the run reads them.
  std::u16string Text1() const;
  std::u16string Text2() const;
  std::u16string Text3() const;
  std::u16string Text4() const;
  bool Check1() const;

  // The inputs of a run, as the fields hold them.
  RunInputs Inputs() const;

  // A run started by "GO!", an explanation or a suggestion is still going
  // on.
  bool Running() const;
  // Asks the run to stop before its next file, or the suggestion before its
  // next page, as Escape does.
  void StopRun();

  // The log's context menu: the text box's own items, then "Explain why
  // files gave no piece", enabled after a run in which files gave none
  // until their explanation is shown.
  QMenu* CreateLogMenu();
  // Appends below the log, for each file of the last run that gave no
  // piece, why: found on a worker thread by a dry run of the same inputs.
  void ExplainFailures();

  // A marker box's context menu: the box's own items, then "Suggest markers
  // from the folder" (Ctrl+Shift+S in either box), enabled when no run is
  // going on.
  QMenu* CreateMarkerMenu(MarkerBox& box);
  // Suggests markers for the files of the folder and extension fields, on
  // the worker thread as a run goes (inputs taken, Escape stops it), and
  // then puts the best pair that the window can run (literal text, no
  // pattern) in the marker boxes, as one edit that one undo in either box
  // takes back from both; writes one line in the log that says what the
  // markers give, or why there are none.
  void SuggestMarkersFromFolder();

  // What a run tells (the events its relay noted), shown on the controls,
  // on the window's thread.
  void Started();
  void Logged(const LogEntry& entry);
  // Virtual, so that a test can watch what each frame shows.
  virtual void PieceWritten(std::int64_t done, std::int64_t total);
  void Finished(const RunResult& result);

 signals:
  // A run's end is shown: its last log lines, the summary and the bar; or
  // the explanation of its failures.
  void RunEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateControls();
  void PlaceControls();
  void SetLooks();
  void SetStartupTexts();
  void NameControls();
  void StackControls();
  void OrderTabs();
  void WireEvents();
  void SetLabel6(std::u16string_view caption);
  void SetLine2X2(int x2);
  void SetBusyPointer(bool busy);
  void TakeInputs(bool take);
  void ShowNews(RunRelay& relay);
  void WorkEnded();
  void ShowContextMenu(QPlainTextEdit& box, const QPoint& at);
  // A drop or drag of a folder or file on a one-line field, taken as on the
  // window; false for any other event, which the field keeps.
  bool TakeFieldDrop(QEvent& event);
  void ShowSuggestion(const SuggestionRelay& relay);

  FolderChooser chooser_;
  bool busy_ = false;
  // What the last "GO!" ran on.
  RunInputs run_inputs_;
  // A folder chooser is open: "..." and "GO!" wait for it.
  bool choosing_ = false;
  // The files of the last run that gave no piece, not yet explained.
  std::vector<std::u16string> unexplained_;
  // The work on the worker thread: a run, ExplainFailures' run or a
  // suggestion.
  RunControl* control_ = nullptr;
  QShortcut* stop_key_ = nullptr;
  // The control that had the focus when the run took the inputs.
  QWidget* focus_before_run_ = nullptr;
  // "Suggest markers from the folder", in both marker boxes' menus.
  QAction* suggest_ = nullptr;
  // The context menu open on a text box, if any.
  QPointer<QMenu> context_menu_;
  // The marker boxes as a pair, which a suggestion fills.
  MarkerPair* marker_pair_ = nullptr;

  QLabel* Image1_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLabel* Label2_ = nullptr;
  QLabel* Label3_ = nullptr;
  QLabel* Label4_ = nullptr;
  QLabel* Label5_ = nullptr;
  QLabel* Label6_ = nullptr;
  MarkerBox* Text1_ = nullptr;
  MarkerBox* Text2_ = nullptr;
  QLineEdit* Text3_ = nullptr;
  QLineEdit* Text4_ = nullptr;
  LogBox* Text5_ = nullptr;
  QPushButton* Command1_ = nullptr;
  QPushButton* Command2_ = nullptr;
  QCheckBox* Check1_ = nullptr;
  LineControl* Line1_ = nullptr;
  LineControl* Line2_ = nullptr;
};

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_FORM1_H_
