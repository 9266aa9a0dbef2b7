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
// A State with wantsText() gets characters() only while that returns true
// (asked after every tag): most of a GPX file's text is indentation that no
// reader needs, and skipping it spares a call per run of white space.
class XmlParser {
public:
    // True when the whole input is a well-formed document.
    template <typename State>
    static bool parse(QByteArrayView bytes, State& state)
    {
        XmlParser parser;
        XML_SetUserData(parser.m_parser, &state);
        XML_UseParserAsHandlerArg(parser.m_parser);
        XML_SetElementHandler(parser.m_parser, &start<State>, &end<State>);
        updateTextHandler(parser.m_parser, state);
        return parser.feed(bytes);
    }

    XmlParser(const XmlParser&) = delete;
    XmlParser& operator=(const XmlParser&) = delete;

private:
    XmlParser();
    ~XmlParser();

    bool feed(QByteArrayView bytes);

    template <typename State>
    static State& stateOf(void* parser)
    {
        return *static_cast<State*>(XML_GetUserData(static_cast<XML_Parser>(parser)));
    }

    template <typename State>
    static void updateTextHandler(XML_Parser parser, State& state)
    {
        if constexpr (requires { state.wantsText(); })
            XML_SetCharacterDataHandler(parser, state.wantsText() ? &text<State> : nullptr);
        else
            XML_SetCharacterDataHandler(parser, &text<State>);
    }

    template <typename State>
    static void start(void* parser, const XML_Char* name, const XML_Char** attributes)
    {
        auto& state = stateOf<State>(parser);
        state.startElement(name, attributes);
        updateTextHandler(static_cast<XML_Parser>(parser), state);
    }
    template <typename State>
    static void end(void* parser, const XML_Char* name)
    {
        auto& state = stateOf<State>(parser);
        state.endElement(name);
        updateTextHandler(static_cast<XML_Parser>(parser), state);
    }
    template <typename State>
    static void text(void* parser, const XML_Char* text, int length)
    {
        stateOf<State>(parser).characters(std::string_view(text, std::size_t(length)));
    }

    XML_Parser m_parser;
};

// The part of a qualified name after the last ":".
inline std::string_view localName(const char* qualifiedName)
{
    const char* local = qualifiedName;
    const char* end = qualifiedName;
    for (; *end; ++end) {
        if (*end == ':')
            local = end + 1;
    }
    return {local, std::size_t(end - local)};
}

// The value of attribute `name`, if present.
inline const char* attribute(const char** attributes, const char* name)
{
    for (; attributes[0]; attributes += 2) {
        if (std::strcmp(name, attributes[0]) == 0)
            return attributes[1];
    }
    return nullptr;
}

} // namespace zuvo::formats::detail
