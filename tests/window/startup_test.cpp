// The window as it opens: the overlaps, focus and tab order, the empty bar;
// in Arabic, translated and mirrored; in every language, texts that fit.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <memory>
#include <vector>

#include "tests/window/window_testing.h"
#include "window/bar_position.h"
#include "window/form1.h"
#include "window/language.h"
#include "window/line_control.h"
#include "window/text_boxes.h"

namespace vantrel::window {
namespace {

// The overlaps that the stacking order decides: "..." over the folder
// field, the extension field over its caption, Label4 over the picture.
// Line2 over Line1 shows in the runs.
TEST(WindowStartUp, OverlapsShowTheFrontControl) {
  Form1 form;
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

// The room a control gives its text: a label's part inside the window and
// clear of the field over its end, a check box's or a button's contents.
int Room(Form1& form, QWidget& control) {
  QStyleOptionButton option;
  option.initFrom(&control);
  if (auto* box = qobject_cast<QCheckBox*>(&control)) {
    option.text = box->text();
    return control.style()
        ->subElementRect(QStyle::SE_CheckBoxContents, &option, &control)
        .width();
  }
  if (auto* button = qobject_cast<QPushButton*>(&control)) {
    option.text = button->text();
    return control.style()
        ->subElementRect(QStyle::SE_PushButtonContents, &option, &control)
        .width();
  }
  QRect shown = control.geometry().intersected(form.rect());
  const QRect field = testing::Control(form, "Text4").geometry();
  if (control.objectName() == "Label5") {
    form.isRightToLeft() ? shown.setLeft(field.right() + 1)
                         : shown.setRight(field.left() - 1);
  }
  return shown.width();
}

TEST(WindowStartUp, ArabicIsTranslatedAndMirroredAndEveryTextFits) {
  struct Text {
    const char* control;
    QString english, arabic;
  };
  const std::vector<Text> texts{
      {"Label1", "Start:", "البداية:"},
      {"Label2", "End:", "النهاية:"},
      {"Label3", "From:", "من:"},
      {"Label5", "Files' extension should be looking in:",
       "ابحث في الملفات ذات الامتداد:"},
      {"Check1", "Put found strings in separated files.",
       "ضع كل نص مستخرج في ملف مستقل."},
      {"Command2", "GO!", "ابدأ!"}};
  for (const char* locale : {"en_US", "ar_EG", "ar_MA"}) {
    const bool arabic = locale[0] == 'a';
    const WindowLanguage language{QLocale(locale)};
    EXPECT_EQ(language.Translated(), arabic) << locale;
    Form1 form;
    form.show();  // lays out the log's viewport
    EXPECT_EQ(form.layoutDirection(),
              arabic ? Qt::RightToLeft : Qt::LeftToRight);
    for (const Text& text : texts) {
      auto& control = testing::Control(form, text.control);
      const QString shown = control.property("text").toString();
      EXPECT_EQ(shown, arabic ? text.arabic : text.english) << locale;
      EXPECT_LE(QFontMetrics(control.font()).horizontalAdvance(shown),
                Room(form, control))
          << locale << " " << text.control;
    }
    // The help in the log, line by line, fits without scrolling sideways.
    auto& log = testing::Control<LogBox>(form, "Text5");
    const QString help = QString::fromStdU16String(log.Text());
    EXPECT_EQ(help.startsWith("اختر المجلد"), arabic) << locale;
    for (const QString& line : help.split("\r\n")) {
      EXPECT_LE(QFontMetrics(log.font()).horizontalAdvance(line),
                log.viewport()->width() - 2 * log.document()->documentMargin())
          << locale << " " << line.toStdString();
    }
    // Mirrored: "..." at the folder field's left end, the bar growing from
    // the right; the fields of HTML, paths and extensions left to right.
    EXPECT_EQ(
        form.childAt(arabic ? form.width() - 1 - 215 : 215, 300)->objectName(),
        "Command1");
    // The log's menu, Qt's own items too where Debian's translations of Qt
    // are installed.
    const bool qt_arabic =
        arabic &&
        QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                      "/qtbase_ar.qm");
    const std::unique_ptr<QMenu> menu(form.CreateLogMenu());
    EXPECT_EQ(menu->actions().back()->text(),
              arabic ? "اشرح لماذا لم يُستخرج نص من بعض الملفات"
                     : "Explain why files gave no piece");
    QList<QAction*> qt_items = menu->actions();
    qt_items.removeLast();  // the explain item
    for (const QAction* action : qt_items) {
      if (action->isSeparator()) continue;
      // The text before the tab; the shortcut after it stays Latin.
      EXPECT_EQ(action->text()
                    .section(QChar(u'\t'), 0, 0)
                    .contains(QRegularExpression("[A-Za-z]")),
                !qt_arabic)
          << locale << " " << action->text().toStdString();
    }
    // The folder's first character shows beside "...", not under it.
    auto& folder = testing::Control<QLineEdit>(form, "Text3");
    folder.setCursorPosition(0);
    const QRect first = folder.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_FALSE(testing::Control(form, "Command1")
                     .geometry()
                     .contains(folder.mapTo(&form, first.center())))
        << locale;
    auto& bar = testing::Control<LineControl>(form, "Line2");
    const QRect track = testing::Control(form, "Line1").geometry();
    bar.SetX2((kBarLeft + kBarRight) / 2);
    EXPECT_EQ(arabic ? bar.geometry().right() : bar.geometry().left(),
              arabic ? track.right() : track.left());
    EXPECT_LT(bar.geometry().width(), track.width() * 3 / 4);
    for (const char* field : {"Text1", "Text2", "Text3", "Text4"}) {
      EXPECT_EQ(testing::Control(form, field).layoutDirection(),
                Qt::LeftToRight)
          << field;
    }
  }
  EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);
}

// What assistive technology (a screen reader) reads of each control: the
// fields by the captions that label them, "...", the log and the bar by
// names of their own, translated; the window as a window; the bar as a
// progress bar with its share, its grey track not at all.
TEST(WindowStartUp, ControlsAreNamedForAssistiveTechnology) {
  struct Named {
    const char* control;
    QAccessible::Role role;
    QString english, arabic;
    QString label;  // the caption that labels it, if any
  };
  const std::vector<Named> controls{
      {"Text1", QAccessible::EditableText, "Start:", "البداية:", "Label1"},
      {"Text2", QAccessible::EditableText, "End:", "النهاية:", "Label2"},
      {"Text3", QAccessible::EditableText, "From:", "من:", "Label3"},
      {"Text4", QAccessible::EditableText,
       "Files' extension should be looking in:",
       "ابحث في الملفات ذات الامتداد:", "Label5"},
      {"Text5", QAccessible::EditableText, "Log", "السجل", ""},
      {"Command1", QAccessible::Button, "Choose folder", "اختر المجلد", ""},
      {"Command2", QAccessible::Button, "GO!", "ابدأ!", ""},
      {"Check1", QAccessible::CheckBox, "Put found strings in separated files.",
       "ضع كل نص مستخرج في ملف مستقل.", ""},
      {"Line2", QAccessible::ProgressBar, "Progress", "التقدم", ""}};
  for (const char* locale : {"en_US", "ar_EG"}) {
    const bool arabic = locale[0] == 'a';
    const WindowLanguage language{QLocale(locale)};
    Form1 form;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&form);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window) << locale;
    EXPECT_EQ(window->text(QAccessible::Name), "Vantrel") << locale;
    for (const Named& c : controls) {
      QAccessibleInterface* control = QAccessible::queryAccessibleInterface(
          &testing::Control(form, c.control));
      ASSERT_NE(control, nullptr) << c.control;
      EXPECT_EQ(control->role(), c.role) << locale << " " << c.control;
      EXPECT_EQ(control->text(QAccessible::Name), arabic ? c.arabic : c.english)
          << locale << " " << c.control;
      QString label;
      for (const auto& [other, relation] :
           control->relations(QAccessible::Label)) {
        label += other->object()->objectName();
      }
      EXPECT_EQ(label, c.label) << locale << " " << c.control;
    }
  }
  Form1 form;
  auto& bar = testing::Control<LineControl>(form, "Line2");
  QAccessibleValueInterface* value =
      QAccessible::queryAccessibleInterface(&bar)->valueInterface();
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->minimumValue().toInt(), 0);
  EXPECT_EQ(value->maximumValue().toInt(), 100);
  EXPECT_EQ(value->currentValue().toInt(), 0);
  struct Share {
    int done, total, percent;
  };
  for (const Share& share :
       {Share{1, 2, 50}, Share{1, 3, 33}, Share{2, 3, 67}, Share{3, 3, 100}}) {
    bar.SetX2(BarX2(share.done, share.total));
    EXPECT_EQ(value->currentValue().toInt(), share.percent)
        << share.done << "/" << share.total;
  }
  QAccessibleInterface* track =
      QAccessible::queryAccessibleInterface(&testing::Control(form, "Line1"));
  EXPECT_TRUE(track->state().invisible);
  EXPECT_EQ(track->valueInterface(), nullptr);
}

}  // namespace
}  // namespace vantrel::window
