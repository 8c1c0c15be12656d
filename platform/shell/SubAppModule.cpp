#include "shell/SubAppModule.h"

#include "sharedrt/AppObjects.h"
#include "sharedrt/AnsiPath.h"

#include "sharedrt/RtError.h"
#include "sharedrt/SharedHeap.h"

#include <cstring>
#include <memory>

namespace shell {
namespace {

constexpr std::size_t kResultRoom = 1024;

struct SharedBlockFree {
    void operator()(char* block) const { rt::SharedHeap::Free(block); }
};

std::string SystemMessage(DWORD code)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    rt::unique_hlocal owner(text);
    std::string message = length != 0 ? std::string(text, length) : "";
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message + " (" + std::to_string(code) + ")";
}

// An export as the function type it has (through void(*)(), the generic
// function pointer type).
template <typename Function>
Function Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace

std::string ExecutableFolder()
{
    return rt::ModuleFolder(nullptr).value_or("");
}

SubAppModule::SubAppModule(const std::string& dllPath) : path_(dllPath), module_(LoadLibraryA(dllPath.c_str()))
{
    if (!module_)
        throw rt::Error("无法加载子应用模块" + dllPath + "：" + SystemMessage(GetLastError()));
    initSubApp_ = Export<WscbsInitSubAppProc>(module_.get(), "InitSubApp");
    showFrmView_ = Export<WscbsShowFrmViewProc>(module_.get(), "ShowFrmView");
    freeDllProc_ = Export<WscbsFreeDLLProcProc>(module_.get(), "FreeDLLProc");
    if (initSubApp_ == nullptr)
        throw rt::Error("子应用模块没有导出InitSubApp：" + dllPath);
}

SubAppModule::~SubAppModule()
{
    if (rt::Application* app = rt::CurrentApplication())
        app->FreeOwnedForms();
}

SubAppModule::InitResult SubAppModule::InitSubApp(rt::WindowHandle appWindow, const std::string& text)
{
    const std::size_t size = text.size() + 1 + kResultRoom;
    std::unique_ptr<char, SharedBlockFree> block(static_cast<char*>(rt::SharedHeap::AllocZeroed(size)));
    std::memcpy(block.get(), text.data(), text.size());
    char* pointer = block.get();
    InitResult result;
    result.succeeded = initSubApp_(appWindow, &pointer) != 0;
    result.text.assign(block.get(), strnlen(block.get(), size));
    return result;
}

bool SubAppModule::ShowFrmView(rt::WindowHandle appWindow, void* container, const std::string& text)
{
    if (showFrmView_ == nullptr)
        return false;
    std::unique_ptr<char, SharedBlockFree> block(static_cast<char*>(rt::SharedHeap::AllocZeroed(text.size() + 1)));
    std::memcpy(block.get(), text.data(), text.size());
    char* pointer = block.get();
    return showFrmView_(appWindow, container, &pointer) != 0;
}

bool SubAppModule::FreeDLLProc()
{
    return freeDllProc_ != nullptr && freeDllProc_(0, 0) != 0;
}

} // namespace shell
