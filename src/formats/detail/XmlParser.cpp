#include "formats/detail/XmlParser.h"

#include <QByteArrayAlgorithms>

#include <algorithm>
#include <new>

namespace zuvo::formats::detail {

namespace {

// expat takes lengths as int and copies each piece into its own buffer, so a
// large file goes in slices: memory stays at one slice, not a second copy of
// the file.
constexpr qsizetype sliceSize = 1 << 20;

// Windows-1252, which older programs declare, is Latin-1 but for 0x80–0x9F.
// The five bytes it leaves undefined stay the C1 controls of the same value,
// as browsers read them.
constexpr int windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// expat knows UTF-8, UTF-16, ISO-8859-1 and US-ASCII itself; any other
// declared encoding comes here.
int unknownEncoding(void*, const XML_Char* name, XML_Encoding* info)
{
    if (qstricmp(name, "windows-1252") != 0 && qstricmp(name, "cp1252") != 0 &&
        qstricmp(name, "x-cp1252") != 0)
        return XML_STATUS_ERROR;
    for (int byte = 0; byte < 256; ++byte)
        info->map[byte] = byte >= 0x80 && byte < 0xA0 ? windows1252High[byte - 0x80] : byte;
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

} // namespace

XmlParser::XmlParser()
    : m_parser(XML_ParserCreate(nullptr))
{
    if (!m_parser)
        throw std::bad_alloc();
    XML_SetUnknownEncodingHandler(m_parser, &unknownEncoding, nullptr);
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
