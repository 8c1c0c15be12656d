#include "startup/upgrade/UpgradeJournal.h"

#include "profile/PrivateProfile.h"
#include "profile/ProfileDocument.h"
#include "sharedrt/RtError.h"
#include "util/FileUtil.h"

#include <windows.h>

namespace startup {
namespace {

bool StartsWithByteOrderMark(std::string_view content)
{
    return content.rfind("\xEF\xBB\xBF", 0) == 0 || content.rfind("\xFF\xFE", 0) == 0 ||
           content.rfind("\xFE\xFF", 0) == 0;
}

constexpr DWORD kRetryDelayMilliseconds = 100;

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
    if (prepared_)
        return;
    throughProfile_ = StartsWithByteOrderMark(content_);
    if (!throughProfile_) {
        profile::ProfileDocument document(content_);
        if (document.KeepSectionLast(kUpgradeDoneSection))
            util::ReplaceFileContent(file_, document.Text());
        OpenAppender();
    }
    content_.clear();
    prepared_ = true;
}

void UpgradeJournal::OpenAppender()
{
    appender_.reset(CreateFileA(file_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!appender_)
        RaiseNotRecorded(file_, GetLastError());
}

void UpgradeJournal::Write(const UpgradeStatement& statement, bool afresh)
{
    if (!prepared_)
        Prepare();
    const std::string hash = StatementHash(statement.statement);
    if (throughProfile_) {
        // The profile functions rewrite a file in place: they work on a copy
        // that takes the file's place whole.
        std::string current;
        if (const std::uint32_t error = util::ReadWholeFileChecked(file_, current); error != 0)
            RaiseNotRecorded(file_, error);
        util::ReplaceFileBy(file_, [&](const std::string& beside) {
            util::WriteWholeFile(beside, current);
            profile::WriteIniStringsChecked(beside, {{kUpgradeDoneSection, statement.label, hash}});
        });
        return;
    }
    if (!appender_)
        OpenAppender();
    // Afresh, the record starts on a line of its own, whatever part of the
    // failed one reached the file.
    const std::string line = (afresh ? "\r\n" : "") + statement.label + "=" + hash + "\r\n";
    DWORD written = 0;
    if (!WriteFile(appender_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
        RaiseNotRecorded(file_, GetLastError());
    if (written != line.size())
        RaiseNotRecorded(file_, ERROR_DISK_FULL);
    if (!FlushFileBuffers(appender_.get()))
        RaiseNotRecorded(file_, GetLastError());
}

void UpgradeJournal::Record(const UpgradeStatement& statement)
{
    if (broken_)
        throw rt::IoError("升级进度已无法记录：[" + file_ + "]");
    broken_ = true;  // until this record is on the disk
    try {
        Write(statement, false);
    } catch (const rt::IoError&) {
        // The statement is done: unrecorded, it would run again at the next
        // start, and one that can be done once (a CREATE TABLE) would then
        // fail at every start. A program that holds the file for a moment (a
        // virus scanner, an indexer) is the usual cause: once more, afresh,
        // after a moment.
        appender_.reset();
        Sleep(kRetryDelayMilliseconds);
        Write(statement, true);
    }
    broken_ = false;
}

} // namespace startup
