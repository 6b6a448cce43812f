#include "window/accessibility.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QString>

#include "window/form1.h"
#include "window/line_control.h"

namespace vantrel::window {
namespace {

// A line control: with a value, a progress bar from 0 to 100 percent;
// without, hidden.
class LineAccessible : public QAccessibleWidget,
                       public QAccessibleValueInterface {
 public:
  explicit LineAccessible(LineControl* line) : QAccessibleWidget(line) {}

  QAccessible::Role role() const override {
    return Line().Percent() ? QAccessible::ProgressBar : QAccessible::Separator;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface && Line().Percent()) {
      return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    if (!Line().Percent()) state.invisible = true;
    state.focusable = false;
    return state;
  }

  QVariant currentValue() const override {
    return Line().Percent().value_or(0);
  }
  // The bar follows the run; nobody sets it from outside.
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override { return 100; }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 1; }

 private:
  const LineControl& Line() const {
    return *static_cast<const LineControl*>(object());
  }
};

QAccessibleInterface* Interface(const QString& class_name, QObject* object) {
  if (class_name == QLatin1String(Form1::staticMetaObject.className())) {
    return new QAccessibleWidget(static_cast<QWidget*>(object),
                                 QAccessible::Window);
  }
  if (class_name == QLatin1String(LineControl::staticMetaObject.className())) {
    return new LineAccessible(static_cast<LineControl*>(object));
  }
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(Interface);
    return true;
  }();
  static_cast<void>(installed);
}

}  // namespace vantrel::window
