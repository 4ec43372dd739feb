// Paths of the run-time folder, resolved once from the running executable (never from the
// current directory). Folders end in '/'.
#pragma once

#include <string>

namespace qx::platform {

struct ProgramPaths {
    std::string programFile;      // file name of the running program, e.g. "qx480-driver"
    std::string folder;           // the run-time folder
    std::string helpFolder;       // folder + "Help/"
    std::string mainSkinFile;     // folder + "Skins/Main.ini"
    std::string mainSkinFolder;   // folder + "Skins/"
    std::string profileSkinFile;  // folder + "Skins/Profile.ini"
    std::string profileSkinFolder;
    std::string updateSkinFile;  // folder + "Skins/UpdateDlg.ini"
    std::string updateSkinFolder;
    std::string compositeSkinFile;  // folder + "Skins/Composite.ini"
    std::string compositeSkinFolder;
    std::string packagePath;       // folder + "Package"
    std::string companionProgram;  // folder + "RoVezevi"
};

// The paths of the running program (computed on first use).
const ProgramPaths& GetProgramPaths();

// Recomputes every path for another run-time folder (tests and tools that run from elsewhere);
// the program file name stays that of the running program. Call it before other threads use
// the paths: the paths are not guarded against a concurrent change.
void SetProgramFolder(const std::string& folder);

}  // namespace qx::platform
