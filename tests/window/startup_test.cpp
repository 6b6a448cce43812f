// The window as it opens: places, looks, texts, stacking and tab order.
#include <QCheckBox>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <vector>

#include "tests/window/window_testing.h"
#include "window/form1.h"
#include "window/line_control.h"
#include "window/text_boxes.h"

namespace vantrel::window {
namespace {

using testing::Control;

TEST(WindowStartUp, EveryControlInItsPlace) {
  Form1 form;
  EXPECT_EQ(form.size(), QSize(238, 513));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  // The design's twips at 15 a pixel, each figure rounded on its own.
  const std::vector<std::pair<const char*, QRect>> places = {
      {"Image1", {0, -20, 240, 180}},   {"Label4", {5, 5, 41, 17}},
      {"Label1", {-8, 168, 41, 17}},    {"Text1", {40, 168, 193, 57}},
      {"Label2", {0, 232, 33, 17}},     {"Text2", {40, 232, 193, 57}},
      {"Label3", {0, 299, 33, 17}},     {"Text3", {40, 296, 179, 19}},
      {"Command1", {213, 296, 20, 19}}, {"Label5", {8, 320, 185, 17}},
      {"Text4", {184, 318, 49, 19}},    {"Check1", {8, 336, 209, 25}},
      {"Text5", {8, 360, 225, 113}},    {"Command2", {8, 482, 41, 25}},
      {"Label6", {56, 488, 177, 17}}};
  for (const auto& [name, place] : places) {
    EXPECT_EQ(Control(form, name).geometry(), place) << name;
  }
  for (const auto& [name, x2] : {std::pair{"Line1", 3400}, {"Line2", 130}}) {
    auto& line = Control<LineControl>(form, name);
    EXPECT_EQ(std::vector({line.X1(), line.Y1(), line.X2(), line.Y2()}),
              std::vector({130, 7120, x2, 7120}))
        << name;
  }
}

TEST(WindowStartUp, TextsAndLooks) {
  Form1 form;
  EXPECT_EQ(form.windowTitle(), "Vantrel");
  EXPECT_EQ(form.Text1(), u"<Div id=\"E23\">\r\n   <p class=Matn>\r\n");
  EXPECT_EQ(form.Text2(), u"   </p>\r\n</Div>\r\n");
  EXPECT_EQ(form.Text3(), u"C:\\ProjectPath\\");
  EXPECT_EQ(form.Text4(), u"htm");
  EXPECT_FALSE(form.Check1());
  EXPECT_EQ(Control<LogBox>(form, "Text5").Text(),
            u"Choose path, extension and press \"GO!\".\r\n"
            u"This software will open all files and will\r\n"
            u"search for \"start string\", if it would be find,\r\n"
            u"software starts to look for \"end string\", and\r\n"
            u"extract everythings inside them, and save\r\n"
            u"it in a new text file.\r\n");
  struct Caption {
    const char* name;
    QString text;
    bool right_aligned;
  };
  for (const auto& [name, text, right] : std::vector<Caption>{
           {"Label1", "Start:", true},
           {"Label2", "End:", true},
           {"Label3", "From:", true},
           {"Label5", "Files' extension should be looking in:", false},
           {"Label6", "", false}}) {
    const auto& label = Control<QLabel>(form, name);
    EXPECT_EQ(label.text(), text) << name;
    EXPECT_EQ(label.alignment().testFlag(Qt::AlignRight), right) << name;
  }
  EXPECT_EQ(Control<QPushButton>(form, "Command1").text(), "...");
  EXPECT_EQ(Control<QPushButton>(form, "Command2").text(), "GO!");
  EXPECT_EQ(Control<QCheckBox>(form, "Check1").text(),
            "Put found strings in separated files.");

  const QFont corner = Control(form, "Label4").font();
  EXPECT_EQ(corner.family(), "Verdana");
  EXPECT_EQ(corner.pointSizeF(), 8.25);
  EXPECT_EQ(corner.weight(), QFont::Normal);
  EXPECT_FALSE(corner.italic() || corner.underline() || corner.strikeOut());
  for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5"}) {
    const QPalette& palette = Control(form, name).palette();
    EXPECT_EQ(palette.color(QPalette::Text), QColor(192, 0, 0)) << name;
    EXPECT_EQ(palette.color(QPalette::Base), QColor(255, 255, 192)) << name;
  }
  EXPECT_EQ(Control(form, "Label6").palette().color(QPalette::WindowText),
            QColor(255, 0, 0));
  EXPECT_EQ(Control<LineControl>(form, "Line1").Color(), QColor(192, 192, 192));
  EXPECT_EQ(Control<LineControl>(form, "Line2").Color(), QColor(128, 128, 255));
}

TEST(WindowStartUp, StackingOrder) {
  Form1 form;
  std::vector<QString> back_to_front;
  for (const QObject* child : form.children()) {
    if (child->isWidgetType()) back_to_front.push_back(child->objectName());
  }
  EXPECT_EQ(back_to_front,
            (std::vector<QString>{
                "Label1", "Label2", "Image1", "Label3", "Label4", "Label5",
                "Line1", "Label6", "Line2", "Text1", "Text2", "Text3",
                "Command1", "Check1", "Text4", "Text5", "Command2"}));
  // The overlaps that the order decides: "..." over Text3, Text4 over
  // Label5, Label4 over the picture. Line2 over Line1 shows in the runs.
  EXPECT_EQ(form.childAt(215, 300)->objectName(), "Command1");
  EXPECT_EQ(form.childAt(186, 325)->objectName(), "Text4");
  EXPECT_EQ(form.childAt(6, 6)->objectName(), "Label4");
}

TEST(WindowStartUp, FocusTabOrderAndEmptyBar) {
  Form1 form;
  testing::ShowAndActivate(form);
  EXPECT_EQ(testing::BlueBarEnd(form), 0);
  ASSERT_EQ(QApplication::focusWidget()->objectName(), "Text1");
  std::vector<QString> visited;
  for (int i = 0; i < 8; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget()->objectName());
  }
  EXPECT_EQ(visited,
            (std::vector<QString>{"Text2", "Text3", "Command1", "Text4",
                                  "Check1", "Text5", "Command2", "Text1"}));
}

TEST(WindowStartUp, PictureAndIcon) {
  Form1 form;
  const auto& picture = Control<QLabel>(form, "Image1");
  EXPECT_EQ(picture.pixmap().size(), QSize(640, 480));
  EXPECT_TRUE(picture.hasScaledContents());
  const QList<QSize> sizes = form.windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(48, 48)));
  EXPECT_EQ(QImageReader(":/vantrel/vantrel.ico").imageCount(), 9);
}

}  // namespace
}  // namespace vantrel::window
