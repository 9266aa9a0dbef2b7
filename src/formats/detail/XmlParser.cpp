#include "formats/detail/XmlParser.h"

#include <algorithm>
#include <new>

namespace zuvo::formats::detail {

namespace {

// expat takes lengths as int and copies each piece into its own buffer, so a
// large file goes in slices: memory stays at one slice, not a second copy of
// the file.
constexpr qsizetype sliceSize = 1 << 20;

} // namespace

XmlParser::XmlParser()
    : m_parser(XML_ParserCreate(nullptr))
{
    if (!m_parser)
        throw std::bad_alloc();
}

XmlParser::~XmlParser()
{
    XML_ParserFree(m_parser);
}

bool XmlParser::feed(QByteArrayView bytes, bool last)
{
    qsizetype offset = 0;
    do {
        const qsizetype length = std::min(sliceSize, bytes.size() - offset);
        const bool final = last && offset + length == bytes.size();
        if (XML_Parse(m_parser, bytes.data() + offset, int(length), final) != XML_STATUS_OK) {
            if (m_failure)
                std::rethrow_exception(m_failure);
            return false;
        }
        offset += length;
    } while (offset < bytes.size());
    return true;
}

} // namespace zuvo::formats::detail
