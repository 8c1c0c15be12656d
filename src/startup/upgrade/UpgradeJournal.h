#pragma once
// The record of the upgrade statements done, in section "MSACCESS.done" of
// "dataupdate.ini", written so that recording one costs the same however
// many came before and a process that ends at any moment leaves every
// statement recorded so far readable.
//
// Before the first record, the section is made the file's one section of
// its name and its last (the file replaced whole, never rewritten in
// place, and only when that changes anything); every record is then the
// line "label=hash" added at the end of the file and flushed to the disk.
// A file that starts with a byte-order mark is written through the profile
// functions instead, which keep its encoding, in a copy that replaces the
// file whole for each record.
#include "startup/upgrade/UpgradeStatements.h"

#include "sharedrt/UniqueHandle.h"

#include <string>

namespace startup {

class UpgradeJournal {
public:
    // `content` is the file's bytes as read before the run.
    UpgradeJournal(std::string file, std::string content);

    // Makes the file ready to take records, before any statement runs: a
    // statement done and not recorded would run again at the next start.
    // Throws rt::IoError when the file cannot be made ready (a full disk,
    // a file another program holds); then no statement may run.
    void Prepare();

    // Records `statement` as done; on the disk when it returns. A record
    // that cannot be written is tried once more, afresh, after a moment.
    // Throws rt::IoError when that fails too; the journal takes no further
    // records then.
    void Record(const UpgradeStatement& statement);

    // Lets go of the file.
    void Close() { appender_.reset(); }

private:
    void OpenAppender();
    void Write(const UpgradeStatement& statement, bool afresh);

    std::string file_;
    std::string content_;
    bool prepared_ = false;
    bool throughProfile_ = false;
    bool broken_ = false;
    rt::unique_hfile appender_;
};

} // namespace startup
