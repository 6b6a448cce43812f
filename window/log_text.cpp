#include "window/log_text.h"

#include <QCoreApplication>
#include <optional>
#include <string>

#include "extraction/messages.h"
#include "extraction/nothing_read.h"
#include "extraction/text/native_names.h"

namespace vantrel::window {
namespace {

// The translations' context, which the window's other texts share.
constexpr char kContext[] = "vantrel::window::Form1";

// Each kind's text for a translation to give; %1 is the file's name, for a
// file that could not be opened followed by the system's reason. A kind
// without a text here is shown as the engine tells it.
const char* Translatable(LogKind kind) {
  switch (kind) {
    case LogKind::kNoFolder:
      return QT_TRANSLATE_NOOP("vantrel::window::Form1",
                               "Didn't find files' path.");
    case LogKind::kNoExtension:
      return QT_TRANSLATE_NOOP("vantrel::window::Form1",
                               "Didn't find extension.");
    case LogKind::kMissingFolder:
      return QT_TRANSLATE_NOOP("vantrel::window::Form1",
                               "Didn't find choosed folder.");
    case LogKind::kUnknownError:
      return QT_TRANSLATE_NOOP("vantrel::window::Form1",
                               "Unknown error occurred:");
    case LogKind::kStopped:
      return QT_TRANSLATE_NOOP("vantrel::window::Form1",
                               "Stopped by the user.");
    case LogKind::kCantRead:
      return QT_TRANSLATE_NOOP("vantrel::window::Form1", "Can't read: %1");
    case LogKind::kNoStart:
      return QT_TRANSLATE_NOOP("vantrel::window::Form1", "Haven't start: %1");
    case LogKind::kNoEnd:
      return QT_TRANSLATE_NOOP("vantrel::window::Form1", "Haven't end: %1");
    case LogKind::kCantOpen:
      return QT_TRANSLATE_NOOP("vantrel::window::Form1", "Can't open: %1");
    case LogKind::kFailure:
    case LogKind::kBadRecord:  // the window reads no web archives
      break;
  }
  return nullptr;
}

constexpr char kSummaryPattern[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1", "%1 checked, %2 didn't find.");
constexpr char kNothingReadPattern[] = QT_TRANSLATE_NOOP(
    "vantrel::window::Form1", "No file in %1 has the extension %2.");
constexpr char kNothingReadDottedPattern[] =
    QT_TRANSLATE_NOOP("vantrel::window::Form1",
                      "No file in %1 has the extension %2; the extension is "
                      "typed without its dot: %3.");

QString FromText(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The translation of `text`, or nothing where the window's language has
// none of its own.
std::optional<QString> Translation(const char* text) {
  QString translated = QCoreApplication::translate(kContext, text);
  if (translated == QLatin1String(text)) return std::nullopt;
  return translated;
}

}  // namespace

QString ShownLogLine(const LogEntry& entry) {
  const char* text = Translatable(entry.kind);
  const auto translated = text != nullptr ? Translation(text) : std::nullopt;
  if (!translated) return FromText(LogLine(entry));
  if (!translated->contains(QLatin1String("%1"))) return *translated;
  std::u16string named = entry.name;
  if (entry.kind == LogKind::kCantOpen) {
    if (entry.folder) named += kFolderSuffix;
    named += kReasonSeparator;
    named += entry.reason;
  }
  return translated->arg(FromText(named));
}

QString ShownSummary(const RunResult& result) {
  if (const auto translated = Translation(kSummaryPattern)) {
    return translated->arg(result.checked).arg(result.failures);
  }
  return FromText(result.summary);
}

QString NothingReadLine(const RunInputs& inputs) {
  const QString folder = FromText(DisplayName(inputs.files.folder));
  const QString extension = FromText(inputs.files.first_extension());
  if (const auto without_dots = ExtensionsWithoutDots(inputs.files)) {
    return QCoreApplication::translate(kContext, kNothingReadDottedPattern)
        .arg(folder, extension, FromText(*without_dots));
  }
  return QCoreApplication::translate(kContext, kNothingReadPattern)
      .arg(folder, extension);
}

}  // namespace vantrel::window
