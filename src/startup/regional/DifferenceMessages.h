#pragma once
// The module log's lines of the regional difference step. Planning predicts
// them and applying writes them: one text for both.
#include <string>

namespace startup::difference_messages {

// The configuration (or a folder it depends on) cannot be read or parsed.
inline std::string Unreadable(const std::string& path) { return "差异化配置文件[" + path + "]有错误！"; }

// `position` names what is wrong in it: "ZCODE", "DIFF-PARAMETER" or "DIFF-FILE".
inline std::string Misconfigured(const std::string& configPath, const char* position)
{
    return "差异化配置文件[" + configPath + "]配置有误：目标位置[" + position + "]！";
}

inline std::string CopyFailed(const std::string& configPath)
{
    return "处理差异化配置文件[" + configPath + "]发生错误：拷贝文件失败！";
}

inline std::string SourceFileMissing(const std::string& source) { return "找不到差异化文件" + source; }
inline std::string FileNotCopied(const std::string& source) { return "拷贝差异化文件" + source + "失败"; }
inline std::string DirectoryNotCopied(const std::string& source) { return "拷贝差异化目录" + source + "失败"; }

inline std::string UnknownFailure(const std::string& configPath)
{
    return "解析差异化配置文件[" + configPath + "]发生未知错误！";
}

inline std::string RecordNotWritten(const std::string& recordFile)
{
    return "差异化配置已应用，但完成记录未能写入[" + recordFile + "]";
}

} // namespace startup::difference_messages
