#pragma once

#include <QByteArrayView>

#include <cstring>
#include <expat.h>
#include <string_view>

namespace zuvo::formats::detail {

// One run of expat over a whole document, without namespace processing:
// element names arrive as written ("zuvo:planner", "gpxtpx:hr"). External
// entities are never loaded (no handler for them is installed) and expat's
// protection against entity expansion stays at its defaults.
//
// `State` receives startElement(name, attributes), endElement(name) and
// characters(text); attributes are expat's null-terminated name/value list.
class XmlParser {
public:
    // True when the whole input is a well-formed document.
    template <typename State>
    static bool parse(QByteArrayView bytes, State& state)
    {
        XmlParser parser;
        XML_SetUserData(parser.m_parser, &state);
        XML_SetElementHandler(parser.m_parser, &start<State>, &end<State>);
        XML_SetCharacterDataHandler(parser.m_parser, &text<State>);
        return parser.feed(bytes);
    }

    XmlParser(const XmlParser&) = delete;
    XmlParser& operator=(const XmlParser&) = delete;

private:
    XmlParser();
    ~XmlParser();

    bool feed(QByteArrayView bytes);

    template <typename State>
    static void start(void* state, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<State*>(state)->startElement(name, attributes);
    }
    template <typename State>
    static void end(void* state, const XML_Char* name)
    {
        static_cast<State*>(state)->endElement(name);
    }
    template <typename State>
    static void text(void* state, const XML_Char* text, int length)
    {
        static_cast<State*>(state)->characters(std::string_view(text, std::size_t(length)));
    }

    XML_Parser m_parser;
};

// The part of a qualified name after the last ":".
inline std::string_view localName(const char* qualifiedName)
{
    const char* colon = std::strrchr(qualifiedName, ':');
    return colon ? std::string_view(colon + 1) : std::string_view(qualifiedName);
}

// The value of attribute `name`, if present.
inline const char* attribute(const char** attributes, std::string_view name)
{
    for (; attributes[0]; attributes += 2) {
        if (name == attributes[0])
            return attributes[1];
    }
    return nullptr;
}

} // namespace zuvo::formats::detail
