#pragma once
// The host profile: the settings the reference host's services answer
// from. The reference shell reads <installation>\host\MainFrame.ini; the
// services library reads it by itself, from beside ModuleLib.dll, when no
// host configures the model (HostSettings.h).
//
//   [Host]                   CurrentSubApp, CurrentFunction, InitSubAppText,
//                            ShowFrmViewText
//   [Company], [User]        the items of the company and user value objects
//   [SubApp <code>]          Caption, Folder, Database, DatabaseScript;
//                            Module (the sub-application's DLL, relative to
//                            the host folder; default <code>.dll there, or
//                            beside the running program when the host
//                            folder has none), whose version resource gives
//                            the record's version; Version only to give the
//                            record another one
//   [Individuation <code>]   the sub-application's individuation parameters
//   [Rights]                 function code=1 for each function the user may use
//   [UserConfig <section>]   the user configuration of that section
//   [Skin]                   FontColor, ModuleBackColor, ModuleToolBarColor
//                            (0x00BBGGRR), FontSize, FontCharSet
//
// Folders are relative to the profile's folder (the host folder), database
// files to their sub-application's folder (absolute paths are taken as
// they are). The file is read with the private-profile functions: ANSI
// (GBK), or UTF-8 with a byte-order mark in front of a first comment line.
#include "hostmodel/HostModel.h"

#include <string>
#include <utility>
#include <vector>

namespace hostmodel {

// Where a sub-application's version comes from: its DLL's version
// resource, unless the profile gives the record another one.
struct SubAppModuleFile {
    std::string code;
    std::string file;            // the DLL (see [SubApp <code>] above)
    std::string fileVersion;     // "major.minor.patch" of its version resource; empty without one
    std::string profileVersion;  // Version= of the profile; empty when absent
};

struct HostProfile {
    std::string installationFolder;  // the host folder's parent, ends with "\"
    std::string hostFolder;          // the profile's folder, ends with "\"
    std::string profileFile;
    std::string currentSubApp;
    std::string currentFunction;
    std::string initSubAppText;
    std::string showFrmViewText;
    std::vector<std::pair<std::string, std::string>> companyItems;
    std::vector<std::pair<std::string, std::string>> userItems;
    std::vector<SubAppSetup> subApps;  // version: profileVersion, else fileVersion
    std::vector<SubAppModuleFile> modules;  // one per sub-application, in the same order
    std::vector<std::string> rights;
    struct UserConfigValue {
        std::string section;
        std::string key;
        std::string value;
    };
    std::vector<UserConfigValue> userConfig;
    Skin skin;
};

// Reads a profile file. Throws rt::Error when it is missing or names no
// known current sub-application.
HostProfile ReadHostProfileFile(const std::string& profileFile);

// Reads the profile of an installation laid out as the sample:
// <installation>\host\MainFrame.ini.
HostProfile ReadHostProfile(const std::string& installationFolder);

// Resets the model and configures it as the profile says; the host
// program's folder becomes the profile's host folder.
void ApplyHostProfile(const HostProfile& profile, HostModel& model);

// "major.minor.patch" (and ".build" when not 0) of a file's version
// resource; empty when the file has none or cannot be read.
std::string FileVersion(const std::string& file);

} // namespace hostmodel
