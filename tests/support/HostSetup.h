#pragma once
// A host model reset to one current sub-application, the usual start of a
// test that talks to the module through the host.
#include "hostmodel/HostModel.h"

#include <string>

namespace testing_support {

inline void UseSubApp(const std::string& code = "WSCBS", const std::string& folder = "C:\\WSCBS\\",
                      const std::string& version = "")
{
    hostmodel::HostModel& model = hostmodel::Model();
    model.Reset();
    hostmodel::SubAppSetup setup;
    setup.code = code;
    setup.folder = folder;
    setup.version = version;
    model.AddSubApp(setup);
    model.SetCurrentSubApp(code);
}

} // namespace testing_support
