#pragma once

#include <QByteArrayView>

#include <cstring>
#include <exception>
#include <expat.h>
#include <string_view>

namespace zuvo::formats::detail {

// One run of expat over a whole document, without namespace processing:
// element names arrive as written ("zuvo:planner", "gpxtpx:hr"). External
// entities are never loaded (no handler for them is installed) and expat's
// protection against entity expansion (from 2.4.0, which the build requires)
// stays at its defaults.
//
// `State` receives startElement(name, attributes), endElement(name) and
// characters(text); attributes are expat's null-terminated name/value list.
// A State with wantsText() gets characters() only while that returns true
// (asked after every tag): most of a GPX file's text is indentation that no
// reader needs, and skipping it spares a call per run of white space.
//
// A State may also take the byte offset of each end tag
// (endElement(name, offset)), and be told of the XML declaration's encoding
// (xmlDeclaration(encoding), null when none is declared) and of a document
// type declaration (doctype()).
class XmlParser {
public:
    // True when the whole input is a well-formed document.
    template <typename State>
    static bool parse(QByteArrayView bytes, State& state)
    {
        XmlParser parser(state);
        return parser.feed(bytes, true);
    }

    // A parser that reports to `state`, fed piece by piece.
    template <typename State>
    explicit XmlParser(State& state)
        : XmlParser()
    {
        m_state = &state;
        XML_SetUserData(m_parser, this);
        XML_UseParserAsHandlerArg(m_parser);
        XML_SetElementHandler(m_parser, &start<State>, &end<State>);
        updateTextHandler(m_parser, state);
        if constexpr (requires { state.xmlDeclaration(""); })
            XML_SetXmlDeclHandler(m_parser, &declaration<State>);
        if constexpr (requires { state.doctype(); })
            XML_SetStartDoctypeDeclHandler(m_parser, &doctype<State>);
    }
    ~XmlParser();

    XmlParser(const XmlParser&) = delete;
    XmlParser& operator=(const XmlParser&) = delete;

    // Parses the next piece; `last` ends the document. False once the input
    // is not well-formed. What the state throws (std::bad_alloc, mostly) is
    // thrown from here, after the parser has stopped.
    bool feed(QByteArrayView bytes, bool last);

private:
    XmlParser();

    // Runs `report` on the state. An exception never unwinds through
    // expat's C frames: it stops the parser and waits in m_failure for
    // feed() to throw it.
    template <typename State, typename Report>
    static void guarded(void* parser, Report&& report)
    {
        auto& self = *static_cast<XmlParser*>(XML_GetUserData(static_cast<XML_Parser>(parser)));
        if (self.m_failure)
            return;
        try {
            report(*static_cast<State*>(self.m_state));
        } catch (...) {
            self.m_failure = std::current_exception();
            XML_StopParser(self.m_parser, XML_FALSE);
        }
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
        guarded<State>(parser, [&](State& state) {
            state.startElement(name, attributes);
            updateTextHandler(static_cast<XML_Parser>(parser), state);
        });
    }
    template <typename State>
    static void end(void* parser, const XML_Char* name)
    {
        guarded<State>(parser, [&](State& state) {
            if constexpr (requires { state.endElement(name, XML_Index{}); })
                state.endElement(name, XML_GetCurrentByteIndex(static_cast<XML_Parser>(parser)));
            else
                state.endElement(name);
            updateTextHandler(static_cast<XML_Parser>(parser), state);
        });
    }
    template <typename State>
    static void text(void* parser, const XML_Char* text, int length)
    {
        guarded<State>(parser, [&](State& state) {
            state.characters(std::string_view(text, std::size_t(length)));
        });
    }
    template <typename State>
    static void declaration(void* parser, const XML_Char*, const XML_Char* encoding, int)
    {
        guarded<State>(parser, [&](State& state) { state.xmlDeclaration(encoding); });
    }
    template <typename State>
    static void doctype(void* parser, const XML_Char*, const XML_Char*, const XML_Char*, int)
    {
        guarded<State>(parser, [&](State& state) { state.doctype(); });
    }

    XML_Parser m_parser;
    void* m_state = nullptr;
    std::exception_ptr m_failure;
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
