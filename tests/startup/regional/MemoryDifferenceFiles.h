#pragma once
// A made-up installation for planning the regional differences: the files
// live in memory under kMemoryDifference, in the order they were made.
#include "startup/regional/SysDifferencePlan.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace testing_support {

inline constexpr const char kMemoryApp[] = "C:\\app\\WSCBS\\";
inline constexpr const char kMemoryDifference[] = "C:\\app\\WSCBS\\AppComs\\difference\\";

class MemoryDifferenceFiles final : public startup::DifferenceFiles {
public:
    // A file under the difference directory; its folders come with it.
    void Put(const std::string& relative, std::string content)
    {
        const std::string path = kMemoryDifference + relative;
        for (std::size_t at = path.find('\\', std::string(kMemoryDifference).size()); at != std::string::npos;
             at = path.find('\\', at + 1))
            directories_.insert(path.substr(0, at));
        files_[path] = std::move(content);
        order_.push_back(path);
    }
    void Folder(const std::string& relative)
    {
        directories_.insert(kMemoryDifference + relative);
        order_.push_back(kMemoryDifference + relative);
    }
    void Directory(const std::string& path) { directories_.insert(path); }
    void Unknown(const std::string& path) { unknown_.insert(path); }
    void ListingFails() { listingFails_ = true; }

    // Every path looked at or read, in order.
    mutable std::vector<std::string> lookedAt;

    util::PathKind Kind(const std::string& path) const override
    {
        lookedAt.push_back(path);
        std::string bare = path;
        if (!bare.empty() && bare.back() == '\\')
            bare.pop_back();
        if (unknown_.count(bare))
            return util::PathKind::Unknown;
        if (files_.count(bare))
            return util::PathKind::File;
        if (directories_.count(bare) || bare + "\\" == kMemoryDifference)
            return util::PathKind::Directory;
        return util::PathKind::Missing;
    }

    std::optional<std::string> Read(const std::string& path) const override
    {
        lookedAt.push_back(path);
        const auto found = files_.find(path);
        if (found == files_.end())
            return std::nullopt;
        return found->second;
    }

    // The entries directly in the folder, in the order they were made.
    std::vector<std::string> List(const std::string& folder, bool& failed) const override
    {
        failed = listingFails_;
        std::vector<std::string> names;
        for (const std::string& path : order_) {
            if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0)
                continue;
            const std::string name = path.substr(folder.size(), path.find('\\', folder.size()) - folder.size());
            if (std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
        }
        return names;
    }

private:
    std::map<std::string, std::string> files_;
    std::set<std::string> directories_;
    std::set<std::string> unknown_;
    std::vector<std::string> order_;
    bool listingFails_ = false;
};

} // namespace testing_support
