#include "shell/ConsoleMode.h"

#include "shell/HostProfile.h"
#include "shell/InstallationReport.h"
#include "shell/ShellReport.h"
#include "shell/SubAppModule.h"
#include "sharedrt/RtError.h"

namespace shell {
namespace {

// The parameter text when the profile gives none.
std::string DefaultInitText(const HostProfile& profile)
{
    return "SubAppCode=" + profile.currentSubApp + ";RunMode=1";
}

void PrintReport(std::ostream& out, const SubAppModule::InitResult& result, hostmodel::HostModel& model)
{
    out << "InitSubApp -> " << (result.succeeded ? 1 : 0) << "\n";
    out << "returned text: " << result.text << "\n";
    PrintHostRecords(out, model, {{0, "InitSubApp"}});
}

} // namespace

int RunConsole(const std::string& installationFolder, std::ostream& out)
{
    try {
        hostmodel::HostModel& model = hostmodel::Model();
        const HostProfile profile = ReadHostProfile(installationFolder);
        ApplyHostProfile(profile, model);
        out << "installation: " << profile.installationFolder << "\n";
        out << "profile: " << profile.profileFile << "\n";
        for (const auto& setup : profile.subApps)
            if (setup.code == profile.currentSubApp)
                out << "sub-application: " << setup.code << " " << setup.caption << " " << setup.version << " in "
                    << setup.folder << "\n";

        int status = 2;
        {
            SubAppModule module(ExecutableFolder() + "wscbs.dll");
            out << "module: " << module.Path() << "\n";
            const std::string text =
                profile.initSubAppText.empty() ? DefaultInitText(profile) : profile.initSubAppText;
            out << "InitSubApp text: " << text << "\n";
            const FolderSnapshot before = SnapshotFolder(profile.installationFolder);
            const SubAppModule::InitResult result = module.InitSubApp(nullptr, text);
            PrintReport(out, result, model);
            if (const rt::DataVO* vo = model.SubAppVo(profile.currentSubApp)) {
                out << "sub-application value object:\n";
                PrintValueObject(out, *vo);
            }
            // Closed first: an open database keeps its log beside the file.
            model.CloseDatabase();
            out << "files written in the installation:\n";
            PrintChangedFiles(out, before, SnapshotFolder(profile.installationFolder));
            out << "module log (" << ExecutableFolder() << "Varnoq.log):\n";
            PrintFileLines(out, ExecutableFolder() + "Varnoq.log");
            out << "FreeDLLProc -> " << (module.FreeDLLProc() ? 1 : 0) << "\n";
            status = result.succeeded ? 0 : 1;
            // The module's items go while the module is still loaded.
            model.Reset();
        }
        out.flush();
        return status;
    } catch (const std::exception& e) {
        out << "MainFrame: " << e.what() << "\n";
        out.flush();
        return 2;
    }
}

} // namespace shell
