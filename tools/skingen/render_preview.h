// Renders each window with a skin as the program builds it (skinned dialog, image buttons placed
// from the INI file, sheets from the state pictures, plain widgets with sample texts) to PNG
// files, so that a reader can see the look without running the program.
#pragma once

#include <string>
#include <vector>

namespace qx::skingen {

// `skinFolder` and `outFolder` end in '/'. Returns the problems (empty on success).
std::vector<std::string> RenderPreviews(const std::string& skinFolder,
                                        const std::string& outFolder);

}  // namespace qx::skingen
