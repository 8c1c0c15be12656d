#pragma once
// The interface between the XML readers and what reads their nodes: the
// conforming stream (XmlDocument.h) and the fast plain-XML reader
// (XmlSubsetReader.h) both report to a sink, and neither depends on the
// other.
#include <cstdint>
#include <string_view>

namespace xml {

// Where a parse stands, for a sink that asks.
class XmlPosition {
public:
    // The line (from 1) where the node being reported begins.
    virtual std::uint32_t Line() const noexcept = 0;

protected:
    ~XmlPosition() = default;
};

// The nodes of a document in document order, as a parse meets them: what
// ParseXml's tree holds (XmlDocument.h), without the tree. Nothing outside
// the document element is reported. A text is the tree's text: adjacent
// character data as one, a run of whitespace only left out. Names and texts
// are UTF-8 and valid only during the call; a sink that reads GBK may take a
// GBK document's texts as the document's own bytes instead (TakesGbkTexts).
// A handler that throws stops the parse, which then fails.
class XmlNodeSink {
public:
    virtual ~XmlNodeSink() = default;
    // `attributes`: name, value, name, value, ..., then null.
    virtual void StartElement(std::string_view name, const char* const* attributes) = 0;
    virtual void EndElement() = 0;
    virtual void Text(std::string_view text) = 0;
    virtual void CData(std::string_view text) = 0;
    virtual void Comment() = 0;
    virtual void ProcessingInstruction(std::string_view target) = 0;
    // The parse begins again at the first byte: every node received so far
    // is to be forgotten.
    virtual void Restart() = 0;

    // True for a sink that wants a GBK document's texts and attribute
    // values as the bytes the document holds (exactly the GBK form of the
    // UTF-8 it would get otherwise). Whether a parse gives them so,
    // TextsAreGbk says while it runs.
    virtual bool TakesGbkTexts() const noexcept { return false; }
    bool TextsAreGbk() const noexcept { return gbkTexts_; }

    // During StartElement, Comment and ProcessingInstruction, the line
    // (from 1) where the node begins. Counted when asked: a sink that never
    // asks costs the parse nothing.
    std::uint32_t Line() const noexcept { return position_ != nullptr ? position_->Line() : 0; }

private:
    friend class XmlStreamer;
    friend class XmlSubsetReader;
    const XmlPosition* position_ = nullptr;  // the parse under way
    bool gbkTexts_ = false;
};

} // namespace xml
