// Pictures of the window and the dialogs for the documentation, taken without user input.
#pragma once

#include <string>

namespace ravelin {

/// Shows each window of the program with sample content, saves it as a PNG file into folder
/// and closes it again; returns the program's exit code (0 when every picture was saved).
int TakeScreenshots(const std::string& folder);

}  // namespace ravelin
