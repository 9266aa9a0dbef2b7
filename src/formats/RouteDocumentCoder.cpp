#include "formats/RouteDocumentCoder.h"

#include "formats/GPXImporter.h"
#include "formats/GPXWriter.h"
#include "formats/detail/Text.h"
#include "formats/detail/XmlParser.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>

namespace zuvo::formats {

using model::Anchor;
using model::Coordinate;

namespace {

constexpr std::string_view plannerNamespace = "https://zuvo.app/gpx/v1";
constexpr std::string_view closingTag = "</gpx>\n";

// Keys come from files a user may have edited by hand; escaped, such a key
// cannot break the document when the plan is saved again.
QByteArray escapedAttribute(const QString& value)
{
    QByteArray text = detail::xmlCharacters(value);
    text.replace("&", "&amp;");
    text.replace("<", "&lt;");
    text.replace(">", "&gt;");
    text.replace("\"", "&quot;");
    // Attribute values lose tabs and line breaks to spaces when read unless
    // written as character references.
    text.replace("\t", "&#9;");
    text.replace("\n", "&#10;");
    text.replace("\r", "&#13;");
    return text;
}

void appendPosition(QByteArray& out, std::string_view latName, std::string_view lonName,
                    const Coordinate& c)
{
    out.append(' ').append(latName.data(), qsizetype(latName.size())).append("=\"");
    detail::appendFixed(out, c.latitude, 6);
    out.append("\" ").append(lonName.data(), qsizetype(lonName.size())).append("=\"");
    detail::appendFixed(out, c.longitude, 6);
    out.append('"');
}

QByteArray plannerBlock(const model::Route& route, const model::CostingProfile& costing)
{
    QByteArray block;
    block.append("  <extensions>\n    <zuvo:planner xmlns:zuvo=\"")
        .append(plannerNamespace.data(), qsizetype(plannerNamespace.size()))
        .append("\" costing=\"")
        .append(name(costing.kind).toUtf8())
        .append("\" roundTrip=\"")
        .append(route.roundTrip ? "true" : "false")
        .append("\">\n");
    // std::map keeps the keys in ascending order.
    for (const auto& [key, value] : costing.values) {
        block.append("      <zuvo:value key=\"").append(escapedAttribute(key)).append("\">");
        detail::appendFixed(block, value, 3);
        block.append("</zuvo:value>\n");
    }
    // Cues come after the anchors: a reader that does not know them skips them whole. A route
    // without turn cues (a motorcycle's) writes none, not even its via points.
    auto cues = model::routeCues(route);
    if (std::all_of(cues.begin(), cues.end(),
                    [](const model::Cue& c) { return c.sign == model::Cue::Sign::viaReached; }))
        cues.clear();
    QByteArray cueLines;
    for (const auto& cue : cues) {
        cueLines.append("      <zuvo:cue sign=\"")
            .append(QByteArray::number(static_cast<int>(cue.sign)))
            .append("\" distance=\"");
        detail::appendFixed(cueLines, cue.distance, 1);
        cueLines.append('"');
        appendPosition(cueLines, "lat", "lon", cue.position);
        const std::pair<const char*, const QString*> texts[] = {
            {"street", &cue.streetName},
            {"ref", &cue.streetRef},
            {"destination", &cue.streetDestination},
            {"text", &cue.text}};
        for (const auto& [key, value] : texts) {
            if (!value->isEmpty())
                cueLines.append(' ')
                    .append(key)
                    .append("=\"")
                    .append(escapedAttribute(*value))
                    .append('"');
        }
        if (cue.exitNumber)
            cueLines.append(" exit=\"").append(QByteArray::number(*cue.exitNumber)).append('"');
        if (cue.viaNumber)
            cueLines.append(" via=\"").append(QByteArray::number(*cue.viaNumber)).append('"');
        cueLines.append("/>\n");
    }
    for (const auto& anchor : route.anchors) {
        block.append("      <zuvo:anchor kind=\"")
            .append(kindName(anchor.kind).toUtf8())
            .append('"');
        appendPosition(block, "clickLat", "clickLon", anchor.click);
        if (anchor.snap)
            appendPosition(block, "snapLat", "snapLon", anchor.snap->coordinate);
        block.append("/>\n");
    }
    block.append(cueLines);
    block.append("    </zuvo:planner>\n  </extensions>\n");
    return block;
}

std::optional<double> decimalAttribute(const char** attributes, const char* name)
{
    const char* value = detail::attribute(attributes, name);
    return value ? detail::parseDecimal(value) : std::nullopt;
}

// The parse state of one decode: what the planner block said so far.
struct PlannerBlockState {
    bool sawPlanner = false;
    std::optional<model::CostingKind> costingKind;
    std::map<QString, double> values;
    std::vector<Anchor> anchors;
    std::vector<model::Cue> cues;
    bool roundTrip = false;
    std::optional<QString> currentValueKey;
    std::string text;

    void startElement(const char* qualifiedName, const char** attributes)
    {
        text.clear();
        const std::string_view name = qualifiedName;
        // Exactly "zuvo:" and a name without another colon.
        if (!name.starts_with("zuvo:") || name.find(':', 5) != std::string_view::npos)
            return;
        const std::string_view local = name.substr(5);
        if (local == "planner") {
            sawPlanner = true;
            const char* costing = detail::attribute(attributes, "costing");
            costingKind =
                costing ? model::costingKindFromName(QString::fromUtf8(costing)) : std::nullopt;
            const char* round = detail::attribute(attributes, "roundTrip");
            roundTrip = round && std::string_view(round) == "true";
        } else if (local == "value") {
            const char* key = detail::attribute(attributes, "key");
            currentValueKey = key ? std::optional(QString::fromUtf8(key)) : std::nullopt;
        } else if (local == "anchor") {
            readAnchor(attributes);
        } else if (local == "cue") {
            readCue(attributes);
        }
    }

    void readAnchor(const char** attributes)
    {
        const char* kindText = detail::attribute(attributes, "kind");
        const auto kind =
            kindText ? model::anchorKindFromName(QString::fromUtf8(kindText)) : std::nullopt;
        const auto clickLat = decimalAttribute(attributes, "clickLat");
        const auto clickLon = decimalAttribute(attributes, "clickLon");
        if (!kind || !clickLat || !clickLon)
            return;
        std::optional<Anchor::Snap> snap;
        const auto snapLat = decimalAttribute(attributes, "snapLat");
        const auto snapLon = decimalAttribute(attributes, "snapLon");
        if (snapLat && snapLon)
            snap = Anchor::Snap{{*snapLat, *snapLon}, std::nullopt};
        anchors.emplace_back(*kind, Coordinate{*clickLat, *clickLon}, snap);
    }

    // A cue without a known sign, a distance or a position is skipped.
    void readCue(const char** attributes)
    {
        const auto sign = decimalAttribute(attributes, "sign");
        const auto known = sign && *sign == std::floor(*sign)
                               ? model::Cue::signFromNumber(int(*sign))
                               : std::nullopt;
        const auto distance = decimalAttribute(attributes, "distance");
        const auto lat = decimalAttribute(attributes, "lat");
        const auto lon = decimalAttribute(attributes, "lon");
        if (!known || !distance || *distance < 0 || !lat || !lon)
            return;
        const auto text = [&](const char* name) {
            const char* value = detail::attribute(attributes, name);
            return value ? QString::fromUtf8(value) : QString();
        };
        model::Cue cue{.sign = *known,
                       .position = {*lat, *lon},
                       .distance = *distance,
                       .streetName = text("street"),
                       .streetRef = text("ref"),
                       .streetDestination = text("destination"),
                       .text = text("text")};
        if (const auto exit = decimalAttribute(attributes, "exit");
            exit && *exit >= 1 && *exit < 100)
            cue.exitNumber = int(*exit);
        if (const auto via = decimalAttribute(attributes, "via"); via && *via >= 1 && *via < 10000)
            cue.viaNumber = int(*via);
        cues.push_back(std::move(cue));
    }

    void characters(std::string_view data) { text.append(data); }

    void endElement(const char* qualifiedName)
    {
        if (std::string_view(qualifiedName) != "zuvo:value" || !currentValueKey)
            return;
        if (const auto value = detail::parseDecimal(detail::trimmed(text))) {
            // Preferences are fractions; a damaged or foreign file may hold anything, and a
            // value out of range would make the routing server refuse every leg.
            values[*currentValueKey] = std::clamp(*value, 0.0, 1.0);
            currentValueKey.reset();
        }
    }
};

} // namespace

QByteArray RouteDocumentCoder::encode(const model::Route& route,
                                      const model::CostingProfile& costing, const QString& name)
{
    QByteArray document = GPXWriter{.creator = QStringLiteral("zuvo")}.write(route, name);
    // The writer ends every document with the closing root tag and one line
    // feed; the block goes right before it.
    document.insert(document.size() - qsizetype(closingTag.size()), plannerBlock(route, costing));
    return document;
}

model::Result<RouteDocument, RouteDocumentError> RouteDocumentCoder::decode(QByteArrayView bytes)
{
    PlannerBlockState state;
    // A syntax error after the block does not matter: what was read counts.
    detail::XmlParser::parse(bytes, state);
    if (!state.sawPlanner || !state.costingKind)
        return RouteDocumentError::notARouteDocument;

    RouteDocument document{
        .name = QStringLiteral("Route"),
        .anchors = std::move(state.anchors),
        .costing = {.kind = *state.costingKind, .values = std::move(state.values)},
        .trackCoordinates = {},
        .roundTrip = state.roundTrip,
        .cues = std::move(state.cues),
    };
    if (auto imported = GPXImporter::read(bytes)) {
        if (imported->name)
            document.name = *imported->name;
        if (!imported->tracks.empty()) {
            for (const auto& sample : imported->tracks.front())
                document.trackCoordinates.push_back(sample.coordinate);
        }
    }
    return document;
}

} // namespace zuvo::formats
