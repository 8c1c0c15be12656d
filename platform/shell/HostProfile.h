#pragma once
// The reference shell's host profile: <installation>\host\MainFrame.ini.
//
//   [Host]                   CurrentSubApp, CurrentFunction, InitSubAppText,
//                            ShowFrmViewText
//   [Company], [User]        the items of the company and user value objects
//   [SubApp <code>]          Caption, Folder, Version, Database, DatabaseScript
//   [Individuation <code>]   the sub-application's individuation parameters
//   [Rights]                 function code=1 for each function the user may use
//   [UserConfig <section>]   the user configuration of that section
//   [Skin]                   FontColor, ModuleBackColor, ModuleToolBarColor
//                            (0x00BBGGRR), FontSize, FontCharSet
//
// Folders are relative to the host folder, database files to their
// sub-application's folder (absolute paths are taken as they are). The file
// is read with the private-profile functions: ANSI (GBK), or UTF-8 with a
// byte-order mark in front of a first comment line.
#include "hostmodel/HostModel.h"

#include <string>
#include <utility>
#include <vector>

namespace shell {

struct HostProfile {
    std::string installationFolder;  // ends with "\"
    std::string hostFolder;          // the profile's folder, ends with "\"
    std::string profileFile;
    std::string currentSubApp;
    std::string currentFunction;
    std::string initSubAppText;
    std::string showFrmViewText;
    std::vector<std::pair<std::string, std::string>> companyItems;
    std::vector<std::pair<std::string, std::string>> userItems;
    std::vector<hostmodel::SubAppSetup> subApps;
    std::vector<std::string> rights;
    struct UserConfigValue {
        std::string section;
        std::string key;
        std::string value;
    };
    std::vector<UserConfigValue> userConfig;
    hostmodel::Skin skin;
};

// Reads the profile of an installation. Throws rt::Error when the profile
// is missing or names no known current sub-application.
HostProfile ReadHostProfile(const std::string& installationFolder);

// Resets the model and configures it as the profile says; the host
// program's folder becomes the profile's host folder.
void ApplyHostProfile(const HostProfile& profile, hostmodel::HostModel& model);

} // namespace shell
