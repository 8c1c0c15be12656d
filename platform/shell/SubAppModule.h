#pragma once
// A sub-application module DLL as the host loads and calls it: the exports
// of the contract header (wscbs/wscbs.h), found by name.
#include "sharedrt/Export.h"
#include "sharedrt/UniqueHandle.h"
#include "wscbs/wscbs.h"

#include <string>

namespace shell {

// The folder of the running executable, ending with "\".
std::string ExecutableFolder();

class SubAppModule {
public:
    // Loads the DLL. Throws rt::Error when it cannot be loaded or does not
    // export InitSubApp.
    explicit SubAppModule(const std::string& dllPath);
    // Frees the forms the application owns (the module's view among them)
    // while their code is still loaded, then unloads the DLL.
    ~SubAppModule();
    SubAppModule(const SubAppModule&) = delete;
    SubAppModule& operator=(const SubAppModule&) = delete;

    struct InitResult {
        bool succeeded = false;
        std::string text;  // the buffer's text after the call
    };
    // Calls InitSubApp with a shared-heap buffer holding `text` and room
    // for 1024 bytes more, and reads the text back within the buffer.
    InitResult InitSubApp(rt::WindowHandle appWindow, const std::string& text);

    // Calls ShowFrmView with `container` (an rt::ui::WinControl*, or null)
    // and a shared-heap buffer holding `text`. False when the module
    // reported failure or has no ShowFrmView.
    bool ShowFrmView(rt::WindowHandle appWindow, void* container, const std::string& text);

    // Calls FreeDLLProc(0, 0); false when the module has none.
    bool FreeDLLProc();

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    rt::unique_hmodule module_;
    WscbsInitSubAppProc initSubApp_ = nullptr;
    WscbsShowFrmViewProc showFrmView_ = nullptr;
    WscbsFreeDLLProcProc freeDllProc_ = nullptr;
};

} // namespace shell
