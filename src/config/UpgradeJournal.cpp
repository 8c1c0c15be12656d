#include "config/UpgradeJournal.h"

#include "config/PrivateProfile.h"
#include "config/ProfileDocument.h"
#include "sharedrt/RtError.h"
#include "util/FileUtil.h"

#include <windows.h>

namespace config {
namespace {

bool StartsWithByteOrderMark(std::string_view content)
{
    return content.rfind("\xEF\xBB\xBF", 0) == 0 || content.rfind("\xFF\xFE", 0) == 0 ||
           content.rfind("\xFE\xFF", 0) == 0;
}

[[noreturn]] void RaiseNotRecorded(const std::string& file, DWORD error)
{
    throw rt::IoError("无法记录升级进度到[" + file + "]（系统错误" + std::to_string(error) + "）");
}

} // namespace

UpgradeJournal::UpgradeJournal(std::string file, std::string content)
    : file_(std::move(file)), content_(std::move(content))
{
}

void UpgradeJournal::Prepare()
{
    throughProfile_ = StartsWithByteOrderMark(content_);
    if (!throughProfile_) {
        ProfileDocument document(content_);
        if (document.KeepSectionLast(kUpgradeDoneSection))
            util::ReplaceFileContent(file_, document.Text());
        appender_.reset(CreateFileA(file_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!appender_)
            RaiseNotRecorded(file_, GetLastError());
    }
    content_.clear();
    prepared_ = true;
}

void UpgradeJournal::Record(const UpgradeStatement& statement)
{
    if (broken_)
        throw rt::IoError("升级进度已无法记录：[" + file_ + "]");
    broken_ = true;  // until this record is on the disk
    if (!prepared_)
        Prepare();
    const std::string hash = StatementHash(statement.statement);
    if (throughProfile_) {
        if (!TryWriteIniString(file_, kUpgradeDoneSection, statement.label, hash))
            RaiseNotRecorded(file_, GetLastError());
    } else {
        const std::string line = statement.label + "=" + hash + "\r\n";
        DWORD written = 0;
        if (!WriteFile(appender_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
            RaiseNotRecorded(file_, GetLastError());
        if (written != line.size())
            RaiseNotRecorded(file_, ERROR_DISK_FULL);
        if (!FlushFileBuffers(appender_.get()))
            RaiseNotRecorded(file_, GetLastError());
    }
    broken_ = false;
}

} // namespace config
