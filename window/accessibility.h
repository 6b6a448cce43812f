// How the window's own kinds of widget show to assistive technology (a
// screen reader, through AT-SPI): Form1 as a window, and a line control
// that stands for a share (the progress bar) as a progress bar whose value
// is that share in percent. A line drawn only for its looks (the bar's
// grey track) is left out.
#ifndef VANTREL_WINDOW_ACCESSIBILITY_H_
#define VANTREL_WINDOW_ACCESSIBILITY_H_

namespace vantrel::window {

// Makes Qt's accessibility give Form1 and LineControl the interfaces
// above; once is enough, and more is harmless.
void InstallAccessibility();

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_ACCESSIBILITY_H_
