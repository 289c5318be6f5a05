// Saving the Qel store to a text file that the Qel reader loads back: a title, then every record as
// a multi-line message followed by its maneuver card lines.
#pragma once

#include <cstdint>
#include <string_view>

namespace qel {

// Whether a save replaces the file or writes at its end.
enum class QelSaveMode { kReplace, kAppend };

// Title line written after three empty lines at the head of a save.
inline constexpr std::string_view kQelSaveTitle = "*** Orbital Elements - QELs ***";

// Saves every record in ascending satKey order to the named file (first 512 characters, trimmed),
// opened on a free unit so that saves and loads on other threads never meet on a unit. Returns the
// open code when the file cannot be opened, the close code when it cannot be finished, kResultFail
// with one line naming how many records could not be written, else kResultOk. The common name is
// not saved: the multi-line form has no place for it.
int32_t QelSaveFile(std::string_view fileName, QelSaveMode mode);

}  // namespace qel
