#include "window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <utility>

#include "extraction/defaults.h"
#include "extraction/messages.h"
#include "extraction/nothing_read.h"
#include "extraction/run.h"
#include "extraction/suggest/suggestion.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"
#include "vantrel_version.h"
#include "window/accessibility.h"
#include "window/bar_position.h"
#include "window/line_control.h"
#include "window/log_text.h"
#include "window/run_control.h"
#include "window/run_relay.h"
#include "window/text_boxes.h"
#include "window/twips.h"

namespace vantrel::window {
namespace {

// The client area, in twips (238 x 513 pixels).
constexpr int kClientWidth = 3570;
constexpr int kClientHeight = 7695;

// The progress bar's height, in twips; its track is in bar_position.h.
constexpr int kBarY = 7120;

// The five text boxes draw dark red on light yellow, the summary is red.
const QColor kBoxText(192, 0, 0);
const QColor kBoxBackground(255, 255, 192);
const QColor kSummaryText(255, 0, 0);
const QColor kTrackColor(192, 192, 192);
const QColor kBarColor(128, 128, 255);

// The window's texts, in English, the language of the source; each shows
// through tr(), in the translation for the user's locale when there is one
// (window/language.h). The corner caption is a name and stays as it is.
constexpr char kStartCaption[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1", "Start:");
constexpr char kEndCaption[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1", "End:");
constexpr char kFolderCaption[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1", "From:");
constexpr char kExtensionCaption[] = QT_TRANSLATE_NOOP(
    "vantrel::window::Form1", "Files' extension should be looking in:");
constexpr char kSeparateCaption[] = QT_TRANSLATE_NOOP(
    "vantrel::window::Form1", "Put found strings in separated files.");
constexpr char kBrowseCaption[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1", "...");
constexpr char kGoCaption[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1", "GO!");
// The names that assistive technology gives the controls without a caption
// of their own: "...", the log and the bar.
constexpr char kBrowseName[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1", "Choose folder");
constexpr char kLogName[] = QT_TRANSLATE_NOOP("vantrel::window::Form1", "Log");
constexpr char kBarName[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1", "Progress");
constexpr char kHelpText[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1",
                      "Choose path, extension and press \"GO!\".\r\n"
                      "This software will open all files and will\r\n"
                      "search for \"start string\", if it would be find,\r\n"
                      "software starts to look for \"end string\", and\r\n"
                      "extract everythings inside them, and save\r\n"
                      "it in a new text file.\r\n");
constexpr char kStartFolder[] = "C:\\ProjectPath\\";
constexpr char kChooserTitle[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1", "Choose Folder:");
constexpr char kExplainItem[] = QT_TRANSLATE_NOOP(
    "vantrel::window::Form1", "Explain why files gave no piece");
constexpr char kSuggestItem[] = QT_TRANSLATE_NOOP(
    "vantrel::window::Form1", "Suggest markers from the folder");
// After a suggestion whose best pair is a pattern, which the window's run
// does not take: the literal pair it took instead, or the pattern.
constexpr char kLiteralTakenPattern[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1",
                      "These markers give a piece on %1 of %2 files; the "
                      "best pair is a pattern, which the window cannot run.");
constexpr char kOnlyPatternPattern[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1",
                      "Only a pattern was found, which the window cannot "
                      "run: start %1, end %2.");
// Label6's caption in the window's design, which shows what the line is for;
// Form_Load clears it before the window is first shown.
constexpr char kSummaryDesignCaption[] = QT_TRANSLATE_NOOP(
    "vantrel::window::Form1", "23 file checked, 3 string(s) didn't find.");
// The short caption over the picture's corner.
constexpr char kCornerCaption[] = "VTL";

// The picture and the icon, built in from resources/.
constexpr char kPicture[] = ":/vantrel/image1.jpg";
constexpr char kIcon[] = ":/vantrel/vantrel.ico";

// The window's font, which every control but Label4 uses: the desktop's
// general font at the size that this fixed layout is drawn for, narrowed so
// that the longest captions ("Files' extension should be looking in:") fit
// their boxes in the common sans-serif faces.
constexpr double kWindowFontPoints = 8.25;
constexpr int kWindowFontStretch = 80;  // percent of the normal width

QFont WindowFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSizeF(kWindowFontPoints);
  font.setStretch(kWindowFontStretch);
  return font;
}

QString FromText(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToText(const QString& text) { return text.toStdU16String(); }

template <typename Control>
Control* Create(QWidget& parent, const char* name) {
  auto* control = new Control(&parent);
  control->setObjectName(QString::fromLatin1(name));
  return control;
}

void SetColors(QWidget& control, QPalette::ColorRole text,
               const QColor& text_color, QPalette::ColorRole background,
               const QColor& background_color) {
  QPalette palette = control.palette();
  palette.setColor(text, text_color);
  palette.setColor(background, background_color);
  control.setPalette(palette);
}

QString Translated(const char* text) {
  return QCoreApplication::translate("vantrel::window::Form1", text);
}

// A pattern on one line of the log: its CR and LF as \r and \n, which
// match the same characters.
QString PatternLine(std::u16string_view pattern) {
  QString line;
  for (const char16_t c : pattern) {
    if (c == u'\r') {
      line += QStringLiteral("\\r");
    } else if (c == u'\n') {
      line += QStringLiteral("\\n");
    } else {
      line += QChar(c);
    }
  }
  return line;
}

}  // namespace

Form1::Form1(FolderChooser chooser) : chooser_(std::move(chooser)) {
  InstallAccessibility();
  CreateControls();
  PlaceControls();
  SetLooks();
  SetStartupTexts();
  NameControls();
  StackControls();
  OrderTabs();
  WireEvents();
  Form_Load();
  Text1_->setFocus();
}

Form1::~Form1() {
  control_->Abandon();
  if (busy_) QApplication::restoreOverrideCursor();
}

void Form1::CreateControls() {
  Image1_ = Create<QLabel>(*this, "Image1");
  Label1_ = Create<QLabel>(*this, "Label1");
  Label2_ = Create<QLabel>(*this, "Label2");
  Label3_ = Create<QLabel>(*this, "Label3");
  Label4_ = Create<QLabel>(*this, "Label4");
  Label5_ = Create<QLabel>(*this, "Label5");
  Label6_ = Create<QLabel>(*this, "Label6");
  Text1_ = Create<MarkerBox>(*this, "Text1");
  Text2_ = Create<MarkerBox>(*this, "Text2");
  Text3_ = Create<QLineEdit>(*this, "Text3");
  Text4_ = Create<QLineEdit>(*this, "Text4");
  Text5_ = Create<LogBox>(*this, "Text5");
  Command1_ = Create<QPushButton>(*this, "Command1");
  Command2_ = Create<QPushButton>(*this, "Command2");
  Check1_ = Create<QCheckBox>(*this, "Check1");
  Line1_ = Create<LineControl>(*this, "Line1");
  Line2_ = Create<LineControl>(*this, "Line2");
}

void Form1::PlaceControls() {
  setFixedSize(TwipsRect(0, 0, kClientWidth, kClientHeight).size());
  // Right to left, every control sits mirrored across the window's middle;
  // the lines mirror themselves.
  const auto place = [this](QWidget* control, const QRect& left_to_right) {
    control->setGeometry(
        QStyle::visualRect(layoutDirection(), rect(), left_to_right));
  };
  // Left, top, width and height in twips. The picture's top and right edge
  // and Label1's left end lie outside the client area on purpose.
  place(Image1_, TwipsRect(0, -300, 3600, 2700));
  place(Label4_, TwipsRect(80, 80, 615, 255));
  place(Label1_, TwipsRect(-120, 2520, 615, 255));
  place(Text1_, TwipsRect(600, 2520, 2895, 855));
  place(Label2_, TwipsRect(0, 3480, 495, 255));
  place(Text2_, TwipsRect(600, 3480, 2895, 855));
  place(Label3_, TwipsRect(0, 4480, 495, 255));
  place(Text3_, TwipsRect(600, 4440, 2685, 285));
  place(Command1_, TwipsRect(3190, 4435, 300, 290));
  place(Label5_, TwipsRect(120, 4800, 2775, 255));
  place(Text4_, TwipsRect(2760, 4770, 740, 285));
  place(Check1_, TwipsRect(120, 5040, 3135, 375));
  place(Text5_, TwipsRect(120, 5400, 3375, 1695));
  Line1_->SetEnds(kBarLeft, kBarY, kBarRight, kBarY);
  Line2_->SetEnds(kBarLeft, kBarY, kBarRight, kBarY);
  place(Command2_, TwipsRect(120, 7230, 615, 375));
  place(Label6_, TwipsRect(840, 7320, 2655, 255));
  // Right to left, "..." covers the folder field's left end, where the
  // field's left-to-right text begins: the text starts clear of it.
  if (isRightToLeft()) {
    Text3_->setTextMargins(
        Text3_->geometry().intersected(Command1_->geometry()).width(), 0, 0, 0);
  }
}

void Form1::SetLooks() {
  setWindowTitle(QStringLiteral(VANTREL_NAME));
  setWindowIcon(QIcon(QString::fromLatin1(kIcon)));
  setFont(WindowFont());

  Image1_->setPixmap(QPixmap(QString::fromLatin1(kPicture)));
  Image1_->setScaledContents(true);

  QFont corner_font(QStringLiteral("Verdana"));
  corner_font.setPointSizeF(8.25);
  corner_font.setWeight(QFont::Normal);
  corner_font.setItalic(false);
  corner_font.setUnderline(false);
  corner_font.setStrikeOut(false);
  Label4_->setFont(corner_font);

  // The markers (HTML), the folder and the extension read left to right
  // in any language.
  for (QWidget* field :
       std::initializer_list<QWidget*>{Text1_, Text2_, Text3_, Text4_}) {
    field->setLayoutDirection(Qt::LeftToRight);
  }

  // Right to left, Qt mirrors these alignments with the window.
  for (QLabel* label : {Label1_, Label2_, Label3_}) {
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
  }
  for (QLabel* label : {Label4_, Label5_, Label6_}) {
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }
  for (QLabel* label : {Label1_, Label2_, Label3_, Label4_, Label5_, Label6_}) {
    label->setTextFormat(Qt::PlainText);
  }

  for (QWidget* box : std::initializer_list<QWidget*>{Text1_, Text2_, Text3_,
                                                      Text4_, Text5_}) {
    SetColors(*box, QPalette::Text, kBoxText, QPalette::Base, kBoxBackground);
  }
  QPalette summary = Label6_->palette();
  summary.setColor(QPalette::WindowText, kSummaryText);
  Label6_->setPalette(summary);
  Line1_->SetColor(kTrackColor);
  Line2_->SetColor(kBarColor);

  // "GO!" is the window's default button: Enter in a one-line field runs
  // it (WireEvents), and Enter on either button clicks it, as Space does.
  Command2_->setDefault(true);
  Command1_->setAutoDefault(true);
  Command2_->setAutoDefault(true);
}

void Form1::SetStartupTexts() {
  Label1_->setText(tr(kStartCaption));
  Label2_->setText(tr(kEndCaption));
  Label3_->setText(tr(kFolderCaption));
  Label4_->setText(QString::fromLatin1(kCornerCaption));
  Label5_->setText(tr(kExtensionCaption));
  Label6_->setText(tr(kSummaryDesignCaption));
  Command1_->setText(tr(kBrowseCaption));
  Command2_->setText(tr(kGoCaption));
  Check1_->setText(tr(kSeparateCaption));
  Check1_->setChecked(false);
  Text1_->SetText(kDefaultStartMarker);
  Text2_->SetText(kDefaultEndMarker);
  Text3_->setText(QString::fromLatin1(kStartFolder));
  Text4_->setText(FromText(kDefaultExtension));
  Text5_->SetText(ToText(tr(kHelpText)));
}

// For assistive technology: each field is named by the caption beside it,
// which labels it; the controls without a caption get a name of their own,
// and the bar reports its share.
void Form1::NameControls() {
  for (const auto& [label, field] :
       {std::pair<QLabel*, QWidget*>{Label1_, Text1_},
        {Label2_, Text2_},
        {Label3_, Text3_},
        {Label5_, Text4_}}) {
    label->setBuddy(field);
    field->setAccessibleName(label->text());
  }
  Command1_->setAccessibleName(tr(kBrowseName));
  Text5_->setAccessibleName(tr(kLogName));
  Line2_->setAccessibleName(tr(kBarName));
  Line2_->ShowShare(kBarLeft, kBarRight);
}

void Form1::StackControls() {
  // Front to back. The overlaps that matter: the blue bar over the grey
  // track, Label4 over the picture, "..." over the folder field's right
  // end and the extension field over Label5's right end.
  QWidget* const front_to_back[] = {
      Command2_, Text5_,  Text4_,  Check1_, Command1_, Text3_,
      Text2_,    Text1_,  Line2_,  Label6_, Line1_,    Label5_,
      Label4_,   Label3_, Image1_, Label2_, Label1_};
  for (auto it = std::rbegin(front_to_back); it != std::rend(front_to_back);
       ++it) {
    (*it)->raise();
  }
}

void Form1::OrderTabs() {
  // Labels, lines and the picture never take the focus.
  QWidget* const order[] = {Text1_, Text2_,  Text3_, Command1_,
                            Text4_, Check1_, Text5_, Command2_};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
}

void Form1::WireEvents() {
  connect(Command1_, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(Command2_, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(Text3_, &QLineEdit::returnPressed, Command2_, &QPushButton::click);
  connect(Text4_, &QLineEdit::returnPressed, Command2_, &QPushButton::click);
  control_ = new RunControl(this);
  connect(control_, &RunControl::Ended, this, &Form1::WorkEnded);
  Text5_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Text5_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) {
            ShowContextMenu(*Text5_, Text5_->viewport()->mapToGlobal(at));
          });
  Text5_->installEventFilter(this);
  stop_key_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  stop_key_->setEnabled(false);
  connect(stop_key_, &QShortcut::activated, this, &Form1::StopRun);
  // The second click of a double click on "GO!" would start a second run
  // on the first one's output; a double click is one click.
  Command2_->installEventFilter(this);
  // A folder dropped anywhere on the window, the one-line fields included
  // (which would otherwise take a dropped path as typed text), opens it.
  setAcceptDrops(true);
  Text3_->installEventFilter(this);
  Text4_->installEventFilter(this);
  // Marker suggestion: from either marker box's context menu, opened by
  // the mouse, the menu key or Shift+F10, or by its shortcut.
  suggest_ = new QAction(tr(kSuggestItem), this);
  suggest_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  suggest_->setShortcutContext(Qt::WidgetShortcut);
  connect(suggest_, &QAction::triggered, this,
          &Form1::SuggestMarkersFromFolder);
  for (MarkerBox* box : {Text1_, Text2_}) {
    box->addAction(suggest_);
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this,
            [this, box](const QPoint& at) {
              ShowContextMenu(*box, box->viewport()->mapToGlobal(at));
            });
    box->installEventFilter(this);
  }
  marker_pair_ = new MarkerPair(*Text1_, *Text2_, this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Command2_ && event->type() == QEvent::MouseButtonDblClick) {
    return true;
  }
  if ((watched == Text1_ || watched == Text2_ || watched == Text5_) &&
      event->type() == QEvent::KeyPress) {
    // Not every platform opens a context menu for these keys by itself.
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier) ||
        (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
      auto* box = static_cast<QPlainTextEdit*>(watched);
      ShowContextMenu(*box,
                      box->viewport()->mapToGlobal(box->cursorRect().center()));
      return true;
    }
  }
  if ((watched == Text3_ || watched == Text4_) && TakeFieldDrop(*event)) {
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void Form1::ShowCentred() {
  const QRect area = screen()->availableGeometry();
  move(QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, size(), area)
           .topLeft());
  show();
}

void Form1::Form_Load() {
  SetLine2X2(kBarLeft);
  SetLabel6(u"");
}

// One chooser at a time: the answer goes to the field the user sees.
void Form1::Command1_Click() {
  if (choosing_) return;
  choosing_ = true;
  const QString folder = BrowseFolder(tr(kChooserTitle));
  choosing_ = false;
  if (!folder.isEmpty()) Text3_->setText(folder);
}

// The run goes on a worker thread; the cleared log and the reset bar show at
// once, and what the run tells shows once a frame until it ends (EndRun).
void Form1::Command2_Click() {
  if (choosing_ || Running()) return;
  run_inputs_ = Inputs();
  unexplained_.clear();
  Started();
  Line2_->Redraw();
  Text5_->Redraw();
  TakeInputs(true);
  auto relay = std::make_unique<RunRelay>(control_->WhenEnded());
  RunRelay* run = relay.get();
  control_->Start(
      std::move(relay),
      [run, inputs = run_inputs_] { RunExtraction(inputs, {}, *run); },
      [this, run] {
        ShowNews(*run);
        Finished(run->Result());
        unexplained_ = run->TakeFailedFiles();
      },
      [this, run] { ShowNews(*run); });
}

bool Form1::Running() const { return control_->Running(); }

void Form1::StopRun() { control_->Stop(); }

// While a run goes on, nothing that starts another or changes this one's
// inputs takes input; the log can still be scrolled.
void Form1::TakeInputs(bool take) {
  if (take) focus_before_run_ = focusWidget();
  for (QWidget* input : std::initializer_list<QWidget*>{
           Text1_, Text2_, Text3_, Command1_, Text4_, Check1_, Command2_}) {
    input->setEnabled(!take);
  }
  stop_key_->setEnabled(take);
  if (!take && focus_before_run_ != nullptr) focus_before_run_->setFocus();
}

// What the run told since the last frame: every log line, then the bar at
// the latest piece, each repainted once.
void Form1::ShowNews(RunRelay& relay) {
  RunRelay::News news = relay.Take();
  for (const LogEntry& entry : news.entries) Logged(entry);
  if (news.piece) {
    PieceWritten(news.piece->first, news.piece->second);
  } else if (!news.entries.empty()) {
    Text5_->Redraw();
  }
}

// The work is over and its end shown (RunControl): the inputs come back.
void Form1::WorkEnded() {
  TakeInputs(false);
  emit RunEnded();
}

QMenu* Form1::CreateLogMenu() {
  QMenu* menu = Text5_->createStandardContextMenu();
  menu->addSeparator();
  QAction* explain = menu->addAction(tr(kExplainItem));
  explain->setEnabled(!unexplained_.empty() && !Running());
  connect(explain, &QAction::triggered, this, &Form1::ExplainFailures);
  return menu;
}

// Near misses are looked for only now, not during the run, which stays as
// fast as without them; the run's own log lines stay as they are.
void Form1::ExplainFailures() {
  if (unexplained_.empty() || Running()) return;
  SetBusyPointer(true);
  TakeInputs(true);
  auto relay = std::make_unique<ExplainRelay>(std::exchange(unexplained_, {}),
                                              control_->WhenEnded());
  ExplainRelay* explain = relay.get();
  control_->Start(
      std::move(relay),
      [explain, inputs = run_inputs_] {
        RunExtraction(inputs, ExplainRelay::Options(), *explain);
      },
      [this, explain] {
        for (const std::u16string& line : explain->Lines()) {
          Text5_->Append(line + std::u16string(kLineEnd));
        }
        Text5_->ScrollToEnd();
        SetBusyPointer(false);
      });
}

QMenu* Form1::CreateMarkerMenu(MarkerBox& box) {
  QMenu* menu = box.createStandardContextMenu();
  menu->addSeparator();
  suggest_->setEnabled(!Running() && !choosing_);
  menu->addAction(suggest_);
  return menu;
}

// One menu at a time: where the platform also makes a context menu of the
// menu key, the second request finds the first menu open.
void Form1::ShowContextMenu(QPlainTextEdit& box, const QPoint& at) {
  if (context_menu_ && context_menu_->isVisible()) return;
  context_menu_ = &box == Text5_
                      ? CreateLogMenu()
                      : CreateMarkerMenu(static_cast<MarkerBox&>(box));
  context_menu_->setAttribute(Qt::WA_DeleteOnClose);
  context_menu_->popup(at);
}

// The pages are read on the worker thread, under the wait cursor, with the
// inputs taken as for a run: a suggestion reads a sample of them and checks
// a few pairs on the rest, which takes about as long as listing the folder.
void Form1::SuggestMarkersFromFolder() {
  if (choosing_ || Running()) return;
  SuggestionRequest request;
  request.files.folder = Text3();
  request.files.extensions = {Text4()};
  SetBusyPointer(true);
  TakeInputs(true);
  auto relay = std::make_unique<SuggestionRelay>(control_->WhenEnded());
  SuggestionRelay* suggestion = relay.get();
  control_->Start(
      std::move(relay),
      [suggestion, request = std::move(request)] {
        suggestion->Suggest(request);
      },
      [this, suggestion] {
        ShowSuggestion(*suggestion);
        SetBusyPointer(false);
      });
}

// The suggestion's end: its pair in the marker boxes and its line below the
// log, shown.
void Form1::ShowSuggestion(const SuggestionRelay& relay) {
  const SuggestionResult& result = relay.Suggestion();
  if (result.why == NoSuggestion::kFailed) {
    // Told as a run tells the failure that ends it.
    Logged(LogEntry(LogKind::kUnknownError));
    Logged(LogEntry::Failure(result.message));
    Text5_->ScrollToEnd();
    Text5_->Redraw();
    return;
  }
  const auto& suggestions = result.suggestions;
  const auto literal =
      std::ranges::find(suggestions, false, &MarkerSuggestion::regex);
  QString line = result.why == NoSuggestion::kStopped
                     ? ShownLogLine(LogEntry(LogKind::kStopped))
                     : FromText(result.message);
  if (literal != suggestions.end()) {
    marker_pair_->Fill(literal->start, literal->end);
    if (literal != suggestions.begin()) {
      line = Translated(kLiteralTakenPattern)
                 .arg(literal->pieces)
                 .arg(result.files);
    }
  } else if (!suggestions.empty()) {
    line = Translated(kOnlyPatternPattern)
               .arg(PatternLine(suggestions.front().start),
                    PatternLine(suggestions.front().end));
  }
  Text5_->Append(ToText(line) + std::u16string(kLineEnd));
  Text5_->ScrollToEnd();
  Text5_->Redraw();
}

QString Form1::BrowseFolder(const QString& szDialogTitle) {
  return chooser_ ? chooser_(szDialogTitle) : QString();
}

std::u16string Form1::Text1() const { return Text1_->Text(); }
std::u16string Form1::Text2() const { return Text2_->Text(); }
std::u16string Form1::Text3() const { return ToText(Text3_->text()); }
std::u16string Form1::Text4() const { return ToText(Text4_->text()); }
bool Form1::Check1() const { return Check1_->isChecked(); }

RunInputs Form1::Inputs() const {
  RunInputs inputs;
  inputs.start_marker = Text1();
  inputs.end_marker = Text2();
  inputs.files.folder = Text3();
  inputs.files.extensions = {Text4()};
  inputs.separate = Check1();
  return inputs;
}

void Form1::Started() {
  SetLine2X2(kBarLeft);
  SetLabel6(u"");
  Text5_->Clear();
  SetBusyPointer(true);
}

void Form1::Logged(const LogEntry& entry) {
  std::u16string text = ToText(ShownLogLine(entry));
  text += kLineEnd;
  Text5_->Append(text);
}

// Told once a frame at most: the bar and the log repaint at once, and only
// what changed.
void Form1::PieceWritten(std::int64_t done, std::int64_t total) {
  SetLine2X2(BarX2(done, total));
  Line2_->Redraw();
  Text5_->Redraw();
}

// The summary and a full bar, unless the error trap ended the run, which
// leaves both as they stood; a stopped run leaves the bar where it stood. A run
// that found no file with the extension says why below its log, since "0
// checked" alone does not.
void Form1::Finished(const RunResult& result) {
  if (result.end != RunResult::End::kErrorTrap) {
    SetLabel6(ToText(ShownSummary(result)));
  }
  if (result.end == RunResult::End::kNormal ||
      result.end == RunResult::End::kInputRejected) {
    SetLine2X2(kBarRight);
  }
  if (result.end == RunResult::End::kNormal && result.matching == 0) {
    Text5_->Append(ToText(NothingReadLine(run_inputs_)) +
                   std::u16string(kLineEnd));
  }
  SetBusyPointer(false);
}

void Form1::SetLabel6(std::u16string_view caption) {
  Label6_->setText(FromText(caption));
}

void Form1::SetLine2X2(int x2) { Line2_->SetX2(x2); }

void Form1::SetBusyPointer(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

// Closing stops a run after the piece being written and waits for its
// thread; what it told after that is not shown.
void Form1::closeEvent(QCloseEvent* event) {
  if (Running()) {
    control_->Abandon();
    TakeInputs(false);
    SetBusyPointer(false);
  }
  QWidget::closeEvent(event);
  // Closing the window ends the program, even while a folder chooser, which
  // belongs to no window, is still open.
  if (event->isAccepted()) QCoreApplication::quit();
}

}  // namespace vantrel::window
