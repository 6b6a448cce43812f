// Why a run read no file: no file in its folder has any of its extensions.
// The command line and the window both say so after such a run, in the same
// words; the likeliest slip is an extension typed with its dot.
#ifndef VANTREL_EXTRACTION_NOTHING_READ_H_
#define VANTREL_EXTRACTION_NOTHING_READ_H_

#include <optional>
#include <string>

#include "extraction/file_selection.h"

namespace vantrel {

// "no file in FOLDER has the extension htm", with " or below it" after the
// folder for a run that reads sub-folders too, and every extension of the
// run ("the extensions htm, html or txt").
std::u16string NoFileHasTheExtension(const FileSelection& files);

// The run's extensions without their leading dots, joined by commas, when
// any of them was given with one ("htm,txt"); nothing otherwise.
std::optional<std::u16string> ExtensionsWithoutDots(const FileSelection& files);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_NOTHING_READ_H_
