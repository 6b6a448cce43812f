// Runs through the window on temporary folders: the log, the summary, the
// bar on screen after each success, the wait cursor, and the error trap.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
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
#include "window/line_control.h"
#include "window/text_boxes.h"

namespace vantrel::window {
namespace {

using testing::Control;
using vantrel::testing::Page;
using vantrel::testing::TempFolder;

// Form1 noting what it shows each time it has shown a written piece, with
// its two redraws (the bar's, then the log's). What either redraw painted
// counts for the pair: Qt paints all that waits.
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
    QTest::mouseClick(&Control(*this, "Command2"), Qt::LeftButton);
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

TEST(WindowRun, LogSummaryAndBarAfterEachSuccess) {
  TempFolder folder;
  folder.create("a.htm", Page("one\r\n"));
  folder.create("b.htm", "<html>no markers</html>");
  folder.create("c.htm", Page("three\r\n"));
  folder.create("notes.txt", Page("not looked at"));
  WatchedForm form;
  form.Run(folder);

  ASSERT_EQ(form.shots.size(), 2u);
  EXPECT_EQ(form.shots[0].x2, 1220);
  EXPECT_EQ(form.shots[1].x2, 2310);
  EXPECT_EQ(form.shots[0].log, u"");
  EXPECT_EQ(form.shots[1].log, u"Haven't start: b.htm\r\n");
  for (const auto& shot : form.shots) {
    ExpectBarShows(shot.blue_end, shot.x2);
    EXPECT_TRUE(shot.bar_painted && shot.log_painted && shot.busy);
    EXPECT_EQ(shot.summary, "");
  }
  EXPECT_EQ(form.Log(), u"Haven't start: b.htm\r\n");
  EXPECT_EQ(form.Summary(), "3 checked, 1 didn't find.");
  EXPECT_EQ(form.X2(), 3400);
  EXPECT_EQ(testing::BlueBarEnd(form), 227);  // over the whole grey track
  EXPECT_EQ(folder.list()[0], "Export1.htm");
}

TEST(WindowRun, SecondRunStartsClearAndRepaintsOnlyWhatChanged) {
  TempFolder first, second;
  first.create("x.htm", "");
  for (const char* name : {"a.htm", "b.htm", "c.htm"}) {
    second.create(name, Page("piece\r\n"));
  }
  WatchedForm form;
  form.Run(first);
  ASSERT_EQ(form.Log(), u"Can't read: x.htm\r\n");
  ASSERT_EQ(form.Summary(), "1 checked, 1 didn't find.");

  form.Run(second);
  ASSERT_EQ(form.shots.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const auto& shot = form.shots[i];
    EXPECT_EQ(shot.x2, std::vector({1220, 2310, 3400})[i]);
    ExpectBarShows(shot.blue_end, shot.x2);
    EXPECT_TRUE(shot.bar_painted) << i;
    // The log was emptied before the first file, and then left alone.
    EXPECT_EQ(shot.log_painted, i == 0) << i;
    EXPECT_EQ(shot.log, u"");
    EXPECT_EQ(shot.summary, "");
  }
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
  ASSERT_EQ(form.shots.size(), 3u);
  // {X2, blue end, bar painted}; each time a line was logged or the log
  // emptied, so the log is repainted each time.
  const int expected[3][3] = {
      {136, 0, false}, {143, 10, true}, {149, 10, false}};
  for (int i = 0; i < 3; ++i) {
    const auto& shot = form.shots[i];
    EXPECT_EQ(std::vector({shot.x2, shot.blue_end, int{shot.bar_painted}}),
              std::vector(expected[i], expected[i] + 3))
        << i;
    EXPECT_TRUE(shot.log_painted) << i;
  }
  EXPECT_EQ(form.Summary(), "500 checked, 497 didn't find.");
}

TEST(WindowBar, PositionsInTwips) {
  struct Case {
    std::int64_t done, total;
    int x2;
  };
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  const Case cases[] = {
      {1, 3, 1220},
      {2, 3, 2310},
      {3, 3, 3400},
      {1, 8, 538},
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
  QTest::mouseDClick(&go, Qt::LeftButton);
  QTest::mouseRelease(&go, Qt::LeftButton);
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

TEST(WindowRun, EnterInAOneLineFieldRunsGo) {
  WatchedForm form;
  Control<QLineEdit>(form, "Text3").clear();
  QTest::keyClick(&Control(form, "Text4"), Qt::Key_Return);
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
