#include "shell/InstallationReport.h"

#include "sharedrt/ErrorMsgLayout.h"
#include "sharedrt/UniqueHandle.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace shell {
namespace {

std::string ItemName(const rt::ParamItem& item)
{
    return std::string(reinterpret_cast<const char*>(item.Name + 1), item.Name[0]);
}

std::string FormatValue(const rt::ParamItem& item)
{
    const rt::TParamValue* cell = item.Value;
    if (cell == nullptr)
        return "(no cell)";
    std::ostringstream text;
    switch (static_cast<rt::ParamType>(item.ValueType)) {
    case rt::ParamType::String:
        text << "string \"" << cell->StringValue.View() << "\"";
        break;
    case rt::ParamType::Integer:
        text << "integer " << cell->IntegerValue;
        break;
    case rt::ParamType::Float:
        text << "float " << cell->FloatValue;
        break;
    case rt::ParamType::Boolean:
        text << "boolean " << (cell->BooleanValue ? "true" : "false");
        break;
    case rt::ParamType::Object:
        text << "object " << cell->ObjectValue;
        break;
    case rt::ParamType::Pointer:
        // The only pointer the module publishes is its error catalogue.
        text << "pointer " << cell->PointerValue << " (" << rt::CountedArrayLength(cell->PointerValue)
             << " records)";
        break;
    default:
        text << "type " << static_cast<int>(item.ValueType);
    }
    return text.str();
}

void Walk(const std::string& folder, const std::string& relative, FolderSnapshot& files)
{
    WIN32_FIND_DATAA entry;
    rt::unique_hfind find(FindFirstFileA((folder + relative + "*").c_str(), &entry));
    if (!find)
        return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Walk(folder, relative + name + "\\", files);
        } else {
            const std::uint64_t size = (std::uint64_t(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
            const std::uint64_t written =
                (std::uint64_t(entry.ftLastWriteTime.dwHighDateTime) << 32) | entry.ftLastWriteTime.dwLowDateTime;
            files[relative + name] = {size, written};
        }
    } while (FindNextFileA(find.get(), &entry));
}

} // namespace

void PrintValueObject(std::ostream& out, const rt::DataVO& vo)
{
    for (std::int32_t i = 0; i < vo.Items->Count(); ++i) {
        const auto* item = static_cast<const rt::ParamItem*>(vo.Items->Get(i));
        if (item != nullptr)
            out << "  " << ItemName(*item) << " = " << FormatValue(*item) << "\n";
    }
}

FolderSnapshot SnapshotFolder(const std::string& folder)
{
    FolderSnapshot files;
    Walk(folder, "", files);
    return files;
}

void PrintChangedFiles(std::ostream& out, const FolderSnapshot& before, const FolderSnapshot& after)
{
    int shown = 0;
    for (const auto& [path, stamp] : after) {
        const auto old = before.find(path);
        if (old == before.end())
            out << "  new      " << path << "\n";
        else if (old->second != stamp)
            out << "  changed  " << path << "\n";
        else
            continue;
        ++shown;
    }
    for (const auto& [path, stamp] : before)
        if (after.find(path) == after.end()) {
            out << "  removed  " << path << "\n";
            ++shown;
        }
    if (shown == 0)
        out << "  (none)\n";
}

void PrintFileLines(std::ostream& out, const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        out << "  (none)\n";
        return;
    }
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out << "  " << line << "\n";
    }
}

} // namespace shell
