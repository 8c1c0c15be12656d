#pragma once
// A sink that writes down every node a parse reports, with the line the
// parse gives at each, so that two parses of the same bytes can be compared
// node for node. A sink made with `takesGbk` asks for a GBK document's texts
// as its bytes, and writes them down in the UTF-8 the table reads them as:
// the record is then the same as a UTF-8 sink's.
#include "text/GbkCodeTable.h"
#include "xml/XmlDocument.h"

#include <string>
#include <string_view>

namespace testing_xml {

class RecordingXmlSink final : public xml::XmlNodeSink {
public:
    explicit RecordingXmlSink(bool takesGbk = false) : takesGbk_(takesGbk) {}

    const std::string& Record() const { return record_; }
    bool RestartedOnce() const { return restarts_ == 1; }

    void StartElement(std::string_view name, const char* const* attributes) override
    {
        Note("start", name);
        for (; *attributes != nullptr; attributes += 2)
            Note(attributes[0], Utf8(attributes[1]));
    }
    void EndElement() override { Note("end", {}); }
    void Text(std::string_view text) override { Note("text", Utf8(text)); }
    void CData(std::string_view text) override { Note("cdata", Utf8(text)); }
    void Comment() override { Note("comment", {}); }
    void ProcessingInstruction(std::string_view target) override { Note("pi", target); }
    void Restart() override
    {
        record_.clear();
        ++restarts_;
    }
    bool TakesGbkTexts() const noexcept override { return takesGbk_; }

private:
    std::string Utf8(std::string_view text) const
    {
        if (!TextsAreGbk())
            return std::string(text);
        std::string utf8;
        text::GbkCodeTable::System().AppendUtf8(utf8, text);
        return utf8;
    }

    void Note(std::string_view what, std::string_view text)
    {
        record_ += std::to_string(Line());
        record_ += ' ';
        record_ += what;
        record_ += " [";
        record_ += text;
        record_ += "]\n";
    }

    bool takesGbk_;
    int restarts_ = 0;
    std::string record_;
};

} // namespace testing_xml
