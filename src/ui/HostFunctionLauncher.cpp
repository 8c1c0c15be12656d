#include "ui/HostFunctionLauncher.h"

#include "host/HostServices.h"
#include "wscbs/wscbs.h"
#include "sharedrt/RtError.h"
#include "util/ZeroedBuffer.h"

#include <cstring>

namespace ui {

bool RunHostFunction(void* owner, const std::string& functionCode, std::string& paramText)
{
    // The text must fit the buffer with its NUL; refused before the host
    // hears of the launch at all.
    if (paramText.size() >= kParamBufferSize)
        throw rt::Error("参数文本超过" + std::to_string(kParamBufferSize - 1) + "字节，无法启动功能" + functionCode);
    if (!host::CheckFunctionCanUse(functionCode))
        return false;

    void* block = nullptr;
    if (!util::AllocZeroedBuffer(kParamBufferSize, block))
        throw rt::Error("无法分配功能参数缓冲区，功能" + functionCode + "未启动");
    const util::unique_zeroed_buffer buffer(block);

    auto* chars = static_cast<char*>(block);
    std::memcpy(chars, paramText.data(), paramText.size());
    chars[paramText.size()] = '\0';

    char* bufferPointer = chars;
    const bool succeeded = ExecuteFunc(owner, functionCode.c_str(), &bufferPointer) != 0;
    paramText.assign(chars, strnlen(chars, kParamBufferSize));
    return succeeded;
}

} // namespace ui
