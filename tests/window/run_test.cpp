// Runs through the window on temporary folders: the log, the summary, the
// bar on screen as the run goes on, the wait cursor, the inputs taken
// during a run, its stop, and the error trap.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "extraction/sys/operation_seam.h"
#include "tests/support/fault_plan.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"
#include "tests/window/window_testing.h"
#include "window/bar_position.h"
#include "window/form1.h"
#include "window/language.h"
#include "window/line_control.h"
#include "window/text_boxes.h"

namespace vantrel::window {
namespace {

using testing::Control;
using vantrel::testing::Page;
using vantrel::testing::TempFolder;

// Form1 noting what it shows each time it has shown the latest written
// piece (at most once a frame), with its two redraws (the bar's, then the
// log's). What either redraw painted counts for the pair: Qt paints all
// that waits.
class WatchedForm : public Form1 {
 public:
  struct Shot {
    int x2, blue_end;
    bool bar_painted, log_painted, busy;
    std::u16string log;
    QString summary;
  };
  std::vector<Shot> shots;

  WatchedForm() {
    Control(*this, "Line2").installEventFilter(&bar_);
    Control<LogBox>(*this, "Text5").viewport()->installEventFilter(&log_);
    testing::ShowAndActivate(*this);
  }
  void PieceWritten(std::int64_t done, std::int64_t total) override {
    bar_before_ = bar_.count;
    log_before_ = log_.count;
    Form1::PieceWritten(done, total);
    const QCursor* cursor = QApplication::overrideCursor();
    shots.push_back(
        {X2(), 0, bar_.count > bar_before_, log_.count > log_before_,
         cursor && cursor->shape() == Qt::WaitCursor, Log(), Summary()});
    shots.back().blue_end = testing::BlueBarEnd(*this);  // paints: last
  }
  void Run(const TempFolder& folder) {
    Control<QLineEdit>(*this, "Text3")
        .setText(QString::fromStdU16String(folder.text()));
    shots.clear();
    ASSERT_TRUE(testing::ClickGoAndWait(*this));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
  std::u16string Log() { return Control<LogBox>(*this, "Text5").Text(); }
  QString Summary() { return Control<QLabel>(*this, "Label6").text(); }
  int X2() { return Control<LineControl>(*this, "Line2").X2(); }

 private:
  testing::PaintCounter bar_, log_;
  int bar_before_ = 0, log_before_ = 0;
};

// The blue ends at the twips figure in pixels, give or take one; at 130,
// the track's left end, there is none.
void ExpectBarShows(int blue_end, int x2) {
  EXPECT_LE(std::abs(blue_end - (x2 == 130 ? 0.0 : x2 / 15.0)), 1.0)
      << "X2 " << x2 << " shows blue up to " << blue_end;
}

// A run, then a second run in the same window: however the pieces fell
// into frames, the bar shows the latest piece, the pointer is busy and the
// summary empty until the end; the second run empties the log at the click
// and then leaves it alone.
TEST(WindowRun, TwoRunsShowLogSummaryAndBarAsTheyGoOn) {
  TempFolder first, second;
  first.create("a.htm", Page("one\r\n"));
  first.create("b.htm", "<html>no markers</html>");
  first.create("c.htm", Page("three\r\n"));
  first.create("notes.txt", Page("not looked at"));
  for (const char* name : {"a.htm", "b.htm", "c.htm"}) {
    second.create(name, Page("piece\r\n"));
  }
  WatchedForm form;
  form.Run(first);
  // The last piece shown before the end is the second, with the log line
  // before it.
  ASSERT_FALSE(form.shots.empty());
  EXPECT_EQ(form.shots.back().x2, 2310);
  EXPECT_EQ(form.shots.back().log, u"Haven't start: b.htm\r\n");
  for (const auto& shot : form.shots) {
    EXPECT_TRUE(shot.x2 == 1220 || shot.x2 == 2310) << shot.x2;
    ExpectBarShows(shot.blue_end, shot.x2);
    EXPECT_TRUE(shot.bar_painted && shot.busy);
    EXPECT_EQ(shot.summary, "");
  }
  EXPECT_EQ(form.Log(), u"Haven't start: b.htm\r\n");
  EXPECT_EQ(form.Summary(), "3 checked, 1 didn't find.");
  EXPECT_EQ(form.X2(), 3400);
  EXPECT_EQ(testing::BlueBarEnd(form), 227);  // over the whole grey track
  EXPECT_EQ(first.list()[0], "Export1.htm");

  form.Run(second);
  ASSERT_FALSE(form.shots.empty());
  for (const auto& shot : form.shots) {
    ExpectBarShows(shot.blue_end, shot.x2);
    EXPECT_TRUE(shot.bar_painted);
    EXPECT_FALSE(shot.log_painted);
    EXPECT_EQ(shot.log, u"");
    EXPECT_EQ(shot.summary, "");
  }
  EXPECT_EQ(form.shots.back().x2, 3400);
  EXPECT_EQ(form.Summary(), "3 checked, 0 didn't find.");
  EXPECT_EQ(form.Log(), u"");
}

// With 500 matching files a success moves the bar 6.5 twips, less than a
// pixel: the bar is repainted only when its end reaches a new pixel.
TEST(WindowRun, BarStepsSmallerThanAPixel) {
  TempFolder folder;
  for (int i = 0; i < 500; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "a%03d.htm", i);
    // a000, a002 and a004 give a piece, the others fail.
    folder.create(name, i <= 4 && i % 2 == 0 ? Page("piece\r\n") : "");
  }
  WatchedForm form;
  form.Run(folder);
  ASSERT_FALSE(form.shots.empty());
  // X2 136, 143, 149: blue up to 0, 10, 10 pixels.
  int shown = 0;
  for (const auto& shot : form.shots) {
    const int blue_end = std::vector({0, 10, 10})[(shot.x2 - 136) / 6];
    EXPECT_EQ(shot.blue_end, blue_end) << shot.x2;
    EXPECT_EQ(shot.bar_painted, blue_end != shown) << shot.x2;
    shown = blue_end;
  }
  EXPECT_EQ(form.shots.back().x2, 149);
  EXPECT_EQ(form.Summary(), "500 checked, 497 didn't find.");
}

// The inputs of a run that goes on: none of them takes input until its end
// is shown; the cleared log and the reset bar show from the click on.
TEST(WindowRun, InputsWaitForTheRunsEnd) {
  TempFolder folder;
  folder.create("a.htm", Page("one\r\n"));
  WatchedForm form;
  form.Run(folder);  // a log and a full bar to clear
  Control<QLineEdit>(form, "Text4").setText("none");
  const char* const inputs[] = {"Text1", "Text2",  "Text3",   "Command1",
                                "Text4", "Check1", "Command2"};
  QTest::mouseClick(&Control(form, "Command2"), Qt::LeftButton);
  EXPECT_TRUE(form.Running());
  for (const char* name : inputs)
    EXPECT_FALSE(Control(form, name).isEnabled()) << name;
  EXPECT_TRUE(Control(form, "Text5").isEnabled());
  EXPECT_EQ(form.Log(), u"");
  EXPECT_EQ(testing::BlueBarEnd(form), 0);
  const QCursor* cursor = QApplication::overrideCursor();
  EXPECT_TRUE(cursor != nullptr && cursor->shape() == Qt::WaitCursor);

  ASSERT_TRUE(testing::WaitForRun(form));
  for (const char* name : inputs)
    EXPECT_TRUE(Control(form, name).isEnabled()) << name;
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Escape and closing the window stop a run between two files: the output
// holds whole pieces only. Escape shows the stop and what was done; after
// closing, the log is left as it was.
TEST(WindowRun, EscapeAndCloseStopTheRunBetweenTwoFiles) {
  constexpr int kFiles = 3000;
  TempFolder folder;
  std::string pieces;
  for (int i = 0; i < kFiles; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%04d", i);
    folder.create(name + std::string(".htm"), Page(name));
    pieces += name;
  }
  for (const bool escape : {true, false}) {
    WatchedForm form;
    Control<QLineEdit>(form, "Text3")
        .setText(QString::fromStdU16String(folder.text()));
    QTest::mouseClick(&Control(form, "Command2"), Qt::LeftButton);
    // Once the bar shows pieces written.
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.X2() > 130; }, 10000));
    if (escape) {
      QTest::keyClick(&form, Qt::Key_Escape);
      ASSERT_TRUE(testing::WaitForRun(form));
    } else {
      form.close();
      EXPECT_FALSE(form.Running());
      QApplication::processEvents();
    }
    const std::string output = folder.read("Export1.htm");
    const std::size_t done = output.size() / 5;
    EXPECT_GT(done, 0u) << escape;
    EXPECT_LT(done, std::size_t{kFiles}) << escape;
    EXPECT_EQ(output, pieces.substr(0, done * 5)) << escape;
    EXPECT_EQ(form.Log(), escape ? u"Stopped by the user.\r\n" : u"");
    EXPECT_EQ(form.Summary(),
              escape ? QString("%1 checked, 0 didn't find.").arg(done) : "");
    // Closed, the bar shows what it showed last, a piece or more before.
    const int x2 = BarX2(static_cast<std::int64_t>(done), kFiles);
    EXPECT_TRUE(escape ? form.X2() == x2 : form.X2() < x2) << form.X2();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    std::filesystem::remove(folder.path() / "Export1.htm");
  }
}

// The log's context menu explains, on demand, why the last run's files gave
// no piece: a line each below the run's own log, which stays as it was.
TEST(WindowRun, LogMenuExplainsWhyFilesGaveNoPiece) {
  TempFolder folder;
  folder.create("a.htm", Page("one\r\n"));
  std::string lf_page = Page("two\r\n");  // the markers with LF breaks
  for (std::size_t at; (at = lf_page.find("\r\n")) != std::string::npos;) {
    lf_page.erase(at, 1);
  }
  folder.create("b.htm", lf_page);
  folder.create("c.htm", "no markers");
  WatchedForm form;
  // Enabled or not; the item is the menu's last.
  const auto explain_item = [&] {
    std::unique_ptr<QMenu> menu(form.CreateLogMenu());
    const QList<QAction*> actions = menu->actions();
    QAction* last = actions.back();
    EXPECT_EQ(last->text(), "Explain why files gave no piece");
    return last->isEnabled();
  };
  EXPECT_FALSE(explain_item());  // no run yet
  form.Run(folder);
  const std::u16string run_log =
      u"Haven't start: b.htm\r\nHaven't start: c.htm\r\n";
  ASSERT_EQ(form.Log(), run_log);
  ASSERT_TRUE(explain_item());

  form.ExplainFailures();
  ASSERT_TRUE(testing::WaitForRun(form));
  EXPECT_EQ(form.Log(), run_log +
                            u"b.htm: the start marker is there at line 2 "
                            u"with LF line breaks; the marker has CR LF\r\n"
                            u"c.htm: no near match\r\n");
  EXPECT_EQ(form.Summary(), "3 checked, 2 didn't find.");
  EXPECT_EQ(folder.list(), (std::vector<std::string>{"Export1.htm", "a.htm",
                                                     "b.htm", "c.htm"}));
  EXPECT_FALSE(explain_item());  // explained

  TempFolder all_good;
  all_good.create("a.htm", Page("one\r\n"));
  form.Run(all_good);
  EXPECT_FALSE(explain_item());  // no failures
}

// The log's menu opens from the keyboard, by the menu key and by
// Shift+F10, as in the marker boxes.
TEST(WindowRun, LogMenuOpensFromTheKeyboard) {
  WatchedForm form;
  auto& log = Control<LogBox>(form, "Text5");
  log.setFocus();
  struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  };
  for (const Key& key : {Key{Qt::Key_Menu, Qt::NoModifier},
                         Key{Qt::Key_F10, Qt::ShiftModifier}}) {
    QTest::keyClick(&log, key.key, key.modifiers);
    auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(shown, nullptr) << key.key;
    EXPECT_EQ(shown->actions().back()->text(),
              "Explain why files gave no piece");
    shown->close();
  }
}

// "Suggest markers from the folder", from either marker box's menu or by
// its shortcut, fills both boxes with the suggested pair once it has run on
// the worker thread, and writes one line in the log; one undo in either box
// restores both markers, one redo brings the pair back. Nothing is written in
// the folder.
TEST(WindowRun, SuggestedMarkersFillBothBoxesAndOneUndoRestoresThem) {
  TempFolder folder;
  // Each page has words of its own: numbers alone could be a page counter.
  const char* const own_words[] = {"amber", "birch", "cedar", "delta", "ember"};
  for (int n = 1; n <= 5; ++n) {
    const std::string number = std::to_string(n);
    folder.create("page" + number + ".htm",
                  "<html><body>\r\n<div class=\"nav\">Home</div>\r\n"
                  "<div class=\"body\"><h1>Page " +
                      number + "</h1><p>The words of page " + number + " " +
                      own_words[n - 1] +
                      " alone.</p></div>\r\n<div class=\"foot\">Made "
                      "here</div>\r\n</body></html>\r\n");
  }
  const std::vector<std::string> names = folder.list();
  WatchedForm form;
  Control<QLineEdit>(form, "Text3")
      .setText(QString::fromStdU16String(folder.text()));
  auto& start = Control<MarkerBox>(form, "Text1");
  auto& end = Control<MarkerBox>(form, "Text2");
  const std::u16string start_before = start.Text(), end_before = end.Text();

  struct Case {
    MarkerBox* used;  // the box whose menu or shortcut suggests
    bool by_shortcut;
    MarkerBox* undone;  // the box in which the user undoes and redoes
  };
  // The shortcut first: offscreen, the window loses its activation, which
  // the shortcut needs, once the closed menu goes while the suggestion is
  // waited for.
  for (const Case& c : {Case{&end, true, &start}, Case{&start, false, &end}}) {
    c.used->setFocus();
    // The menu key opens the box's menu; the item comes after its own.
    QTest::keyClick(c.used, Qt::Key_Menu);
    auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(shown, nullptr);
    EXPECT_GT(shown->actions().size(), 2);
    EXPECT_EQ(shown->actions().back()->text(),
              "Suggest markers from the folder");
    shown->close();
    const std::u16string log = form.Log();
    if (c.by_shortcut) {
      QTest::keyClick(c.used, Qt::Key_S,
                      Qt::ControlModifier | Qt::ShiftModifier);
    } else {
      std::unique_ptr<QMenu> menu(form.CreateMarkerMenu(*c.used));
      menu->actions().back()->trigger();
    }
    // On the worker thread, the inputs taken as for a run, until its end.
    EXPECT_TRUE(form.Running());
    EXPECT_FALSE(start.isEnabled() || end.isEnabled());
    EXPECT_EQ(start.Text(), start_before);
    ASSERT_TRUE(testing::WaitForRun(form));
    EXPECT_TRUE(start.isEnabled() && end.isEnabled());
    const std::u16string suggested_start = start.Text();
    const std::u16string suggested_end = end.Text();
    EXPECT_NE(suggested_start, start_before);
    EXPECT_NE(suggested_end, end_before);
    EXPECT_FALSE(suggested_start.empty() || suggested_end.empty());
    ASSERT_TRUE(form.Log().starts_with(log));
    const std::u16string added = form.Log().substr(log.size());
    EXPECT_TRUE(added.size() > 2 && added.find(u"\r\n") == added.size() - 2)
        << QString::fromStdU16String(added).toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(folder.list(), names);

    c.undone->setFocus();
    QTest::keyClick(c.undone, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(start.Text(), start_before);
    EXPECT_EQ(end.Text(), end_before);
    c.undone->redo();
    EXPECT_EQ(start.Text(), suggested_start);
    EXPECT_EQ(end.Text(), suggested_end);
    c.undone->undo();
  }
}

// Escape stops a suggestion as it stops a run: the markers stay as they
// were and the log says it was stopped.
TEST(WindowRun, EscapeStopsASuggestion) {
  TempFolder folder;
  for (int i = 0; i < 2000; ++i) {
    const std::string number = std::to_string(i);
    folder.create("p" + number + ".htm",
                  "<html><body><div class=\"nav\">Home</div><div>Page " +
                      number + "</div><p>Made here</p></body></html>\r\n");
  }
  WatchedForm form;
  Control<QLineEdit>(form, "Text3")
      .setText(QString::fromStdU16String(folder.text()));
  const std::u16string start = form.Text1(), end = form.Text2();
  const std::u16string log = form.Log();
  Control(form, "Text1").setFocus();
  form.SuggestMarkersFromFolder();
  ASSERT_TRUE(form.Running());
  QTest::keyClick(&form, Qt::Key_Escape);
  ASSERT_TRUE(testing::WaitForRun(form));
  EXPECT_EQ(form.Log(), log + u"Stopped by the user.\r\n");
  EXPECT_EQ(form.Text1(), start);
  EXPECT_EQ(form.Text2(), end);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(Control(form, "Text1").hasFocus());
}

// Lines added below the log after a run, an explanation's or a
// suggestion's, are scrolled into view; the run's own lines leave the view
// where it was.
TEST(WindowRun, LinesAddedAfterARunAreScrolledTo) {
  TempFolder folder;
  for (int i = 0; i < 40; ++i) {
    folder.create("p" + std::to_string(100 + i) + ".htm", "no markers");
  }
  WatchedForm form;
  form.Run(folder);
  auto& log = Control<LogBox>(form, "Text5");
  QScrollBar& bar = *log.verticalScrollBar();
  ASSERT_GT(bar.maximum(), 0);
  EXPECT_EQ(bar.value(), 0);
  const std::vector<std::function<void()>> additions{
      [&] { form.ExplainFailures(); },
      [&] { form.SuggestMarkersFromFolder(); }};
  for (const auto& add : additions) {
    const std::size_t lines_before = std::ranges::count(log.Text(), u'\n');
    bar.setValue(0);
    add();
    ASSERT_TRUE(testing::WaitForRun(form));
    EXPECT_GT(std::ranges::count(log.Text(), u'\n'), lines_before);
    EXPECT_EQ(bar.value(), bar.maximum());
  }
}

TEST(WindowBar, PositionsInTwips) {
  struct Case {
    std::int64_t done, total;
    int x2;
  };
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  const Case cases[] = {
      {0, 5, 130},
      {1, 16, 334},
      {32767, 32767, 3400},
      {1, 32767, 130},
      {kMax / 4, kMax / 2, 1765},
      {kMax, kMax, 3400},
      // 61312.5 hundredths of a twip, wherever the half goes.
      {3, 16, 743},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BarX2(c.done, c.total), c.x2) << c.done << " of " << c.total;
  }
}

// A double click on "GO!" is one click: its second click would otherwise
// start a run that reads the first one's output as a source.
TEST(WindowRun, DoubleClickOnGoRunsOnce) {
  TempFolder folder;
  folder.create("a.htm", Page("one\r\n"));
  WatchedForm form;
  Control<QLineEdit>(form, "Text3")
      .setText(QString::fromStdU16String(folder.text()));
  QWidget& go = Control(form, "Command2");
  QTest::mouseClick(&go, Qt::LeftButton);
  ASSERT_TRUE(testing::WaitForRun(form));
  QTest::mouseDClick(&go, Qt::LeftButton);
  QTest::mouseRelease(&go, Qt::LeftButton);
  ASSERT_TRUE(testing::WaitForRun(form));
  EXPECT_EQ(folder.list(), (std::vector<std::string>{"Export1.htm", "a.htm"}));
  EXPECT_EQ(form.Summary(), "1 checked, 0 didn't find.");
}

// A run that found no file with the extension says why below its log.
TEST(WindowRun, NoFileWithTheExtensionSaysWhy) {
  TempFolder folder;
  folder.create("a.htm", Page("one\r\n"));
  const QString name = QString::fromStdU16String(folder.text());
  for (const auto& [extension, why] :
       {std::pair{"thml", " has the extension thml.\r\n"},
        {".htm",
         " has the extension .htm; the extension is typed without its dot: "
         "htm.\r\n"}}) {
    WatchedForm form;
    Control<QLineEdit>(form, "Text4").setText(extension);
    form.Run(folder);
    EXPECT_EQ(QString::fromStdU16String(form.Log()),
              "No file in " + name + why);
    EXPECT_EQ(form.Summary(), "0 checked, 0 didn't find.");
    EXPECT_EQ(form.X2(), 3400);
  }
  EXPECT_EQ(folder.list(), std::vector<std::string>{"a.htm"});
}

// Under Arabic the engine's lines, the summary and the explain lines show
// translated, the file names and the folder as they are, counts as digits.
TEST(WindowRun, ArabicRunLogsAndSumsUpInArabic) {
  const WindowLanguage arabic{QLocale("ar_EG")};
  ASSERT_TRUE(arabic.Translated());
  TempFolder folder;
  folder.create("a.htm", Page("one\r\n"));
  folder.create("b.htm", "no markers");
  Form1 form;  // not WatchedForm, whose bar check reads left to right
  testing::ShowAndActivate(form);
  const auto log = [&] {
    return QString::fromStdU16String(Control<LogBox>(form, "Text5").Text());
  };
  Control<QLineEdit>(form, "Text3")
      .setText(QString::fromStdU16String(folder.text()));
  ASSERT_TRUE(testing::ClickGoAndWait(form));
  EXPECT_EQ(log(), "لا بداية: b.htm\r\n");
  EXPECT_EQ(Control<QLabel>(form, "Label6").text(), "فُحص 2، ولم يوجد 1.");
  form.ExplainFailures();
  ASSERT_TRUE(testing::WaitForRun(form));
  EXPECT_EQ(log(), "لا بداية: b.htm\r\nb.htm: لا يوجد تطابق قريب\r\n");

  Control<QLineEdit>(form, "Text4").setText("thml");
  ASSERT_TRUE(testing::ClickGoAndWait(form));
  EXPECT_EQ(log(), "لا يوجد في " + QString::fromStdU16String(folder.text()) +
                       " ملف بالامتداد thml.\r\n");
}

TEST(WindowRun, EnterInAOneLineFieldRunsGo) {
  WatchedForm form;
  Control<QLineEdit>(form, "Text3").clear();
  QTest::keyClick(&Control(form, "Text4"), Qt::Key_Return);
  ASSERT_TRUE(testing::WaitForRun(form));
  EXPECT_EQ(form.Log(), u"Didn't find files' path.\r\n");
  EXPECT_EQ(form.Summary(), "0 checked, 0 didn't find.");
  EXPECT_EQ(testing::BlueBarEnd(form), 227);
}

TEST(WindowRun, ErrorTrapLogsTheFailureAndLeavesSummaryAndBar) {
  struct Case {
    const char* name;
    bool separate;
    const char* second_file;  // beside a.htm, which gives a piece
    bool vanished;            // the second file cannot be opened
    int x2;                   // where the bar stays
  };
  for (const Case& c : {
           // The output folder Export1 cannot be made: a file has the name.
           Case{"Export1", true, "Export1", false, 130},
           // A source that went away after the listing cannot be opened.
           Case{"b.htm", false, "b.htm", true, 1765},
       }) {
    TempFolder folder;
    folder.create("a.htm", Page("one\r\n"));
    folder.create(c.second_file, Page("two\r\n"));
    WatchedForm form;
    Control<QCheckBox>(form, "Check1").setChecked(c.separate);
    if (c.vanished) {
      vantrel::testing::InjectFaultOn(fs::Operation::kOpen,
                                      folder.path() / c.second_file, 1, ENOENT);
    }
    form.Run(folder);
    vantrel::testing::ClearFault();

    // The log's last two lines: the trap's and the failure naming the file.
    const QStringList lines =
        QString::fromStdU16String(form.Log()).split("\r\n");
    ASSERT_EQ(lines.size(), 3) << c.name;
    EXPECT_EQ(lines[0], "Unknown error occurred:");
    EXPECT_TRUE(lines[1].contains(c.name)) << lines[1].toStdString();
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(form.Summary(), "") << c.name;
    EXPECT_EQ(form.X2(), c.x2) << c.name;
    ExpectBarShows(testing::BlueBarEnd(form), c.x2);
  }
}

}  // namespace
}  // namespace vantrel::window
