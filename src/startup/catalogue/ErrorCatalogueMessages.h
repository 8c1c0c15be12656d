#pragma once
// The messages of the error catalogue loader; they become the
// "ResultMsgStr" of a failed initialisation.
#include <cstdint>
#include <string>

namespace startup {

// errmsg.xml does not exist.
inline constexpr const char kCatalogueMissingMessage[] =
    "错误代码：[0001]\r\n初始化系统错误信息列表出错！错误信息文件不存在！";

// errmsg.xml cannot be loaded or has no document element.
inline constexpr const char kCatalogueEmptyMessage[] =
    "错误代码：[0002]\r\n初始化系统错误信息列表出错！错误文件内容为空！";

// A file that is there but cannot be read is neither missing nor empty.
inline std::string CatalogueUnreadableMessage(std::uint32_t systemError)
{
    return "错误代码：[0001]\r\n初始化系统错误信息列表出错！错误信息文件无法读取（系统错误" +
           std::to_string(systemError) + "）！";
}

} // namespace startup
