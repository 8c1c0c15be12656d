#pragma once
// The reference services for a host that does not configure the model
// itself: such a host (one written in C, say) reaches only the 30 services,
// so the first service call sets the model up from the settings file beside
// ModuleLib.dll: ModuleLib.ini, else MainFrame.ini, both in the host
// profile's format (hostmodel/HostProfile.h), folders relative to the
// file's folder, which also becomes the host program's folder (GetAppPath).
// A host that reaches the model (HostModelInstance, as the reference shell
// and the tests do) configures it, and no file is read.
#include <string>

namespace hostmodel {

// Run by every service before it answers; reads the file at most once.
// Without a file, or with one that cannot be read, the model stays empty
// (the services answer empty texts and null) and SettingsProblem says why.
void SetUpFromSettingsOnce() noexcept;

// Run when a host reaches the model: from then on no file is read.
void HostConfiguresModel() noexcept;

// The settings file the model was set up from; empty when none.
std::string SettingsFile();
// Why no settings file set the model up; empty when one did, or when the
// host configures the model.
std::string SettingsProblem();

} // namespace hostmodel
