// The routing server's configuration (deploy/graphhopper) against the requests the planner
// builds: what GraphHopper 11 would refuse at start or answer with 400.
#include "model/CostingKind.h"
#include "model/CostingProfile.h"
#include "routing/GraphHopperRequest.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace zuvo;
using model::CostingKind;
using model::CostingProfile;

namespace {

QString deployFile(const QString& name)
{
    QFile file(QStringLiteral(TRAMU_DEPLOY_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << file.fileName().toStdString();
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

qsizetype indentOf(const QString& line)
{
    qsizetype indent = 0;
    while (indent < line.size() && line[indent] == u' ')
        ++indent;
    return indent;
}

// What config.yml says about encoded values and profiles. Our file keeps one key a line and the
// encoded values in a folded block, which is all this reader understands.
struct ServerConfig {
    std::vector<QString> encodedValues;
    std::map<QString, QStringList> modelFiles; // by profile name
};

ServerConfig readServerConfig()
{
    ServerConfig config;
    const QStringList lines = deployFile(QStringLiteral("config.yml")).split(u'\n');
    QString profile;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString entry = lines[i].trimmed();
        if (entry.startsWith(u'#'))
            continue;
        const QString value = entry.section(u':', 1).trimmed();
        if (entry.startsWith(QLatin1String("- name:"))) {
            profile = value;
        } else if (entry.startsWith(QLatin1String("custom_model_files:"))) {
            for (const QString& file : QString(value).remove(u'[').remove(u']').split(u','))
                config.modelFiles[profile].append(file.trimmed());
        } else if (entry.startsWith(QLatin1String("graph.encoded_values:"))) {
            QString list = value;
            if (value.startsWith(u'>') || value.startsWith(u'|')) {
                // A block scalar: the lines indented deeper than the key, folded with spaces.
                list.clear();
                const qsizetype keyIndent = indentOf(lines[i]);
                while (i + 1 < lines.size() &&
                       (lines[i + 1].trimmed().isEmpty() || indentOf(lines[i + 1]) > keyIndent))
                    list += lines[++i].trimmed() + u' ';
            }
            // GraphHopper splits the value at commas and trims each name.
            for (const QString& name : list.split(u','))
                if (!name.trimmed().isEmpty())
                    config.encodedValues.push_back(name.trimmed());
        }
    }
    return config;
}

// A custom model file read as GraphHopper reads it: whole lines starting with // are dropped,
// the rest must be plain JSON.
QJsonObject readModel(const QString& name)
{
    QStringList kept;
    for (const QString& line : deployFile(QStringLiteral("custom_models/") + name).split(u'\n'))
        if (!line.trimmed().startsWith(QLatin1String("//")))
            kept.append(line);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(kept.join(u'\n').toUtf8(), &error);
    if (!document.isObject())
        ADD_FAILURE() << name.toStdString() << ": " << error.errorString().toStdString()
                      << " at offset " << error.offset;
    return document.object();
}

void collectExpressions(const QJsonArray& statements, QStringList& expressions)
{
    for (const auto& statement : statements) {
        const QJsonObject object = statement.toObject();
        for (const char* key : {"if", "else_if", "multiply_by", "limit_to"})
            if (object[QLatin1String(key)].isString())
                expressions.append(object[QLatin1String(key)].toString());
        collectExpressions(object[QLatin1String("do")].toArray(), expressions);
    }
}

// The encoded values a model's expressions name. As in GraphHopper, a name starting with a
// capital is an enum constant, and backward_x is the reverse direction of x.
std::set<QString> encodedValuesNamed(const QJsonObject& model)
{
    QStringList expressions;
    collectExpressions(model[QLatin1String("priority")].toArray(), expressions);
    collectExpressions(model[QLatin1String("speed")].toArray(), expressions);
    static const QRegularExpression identifier(QStringLiteral("\\b[A-Za-z_][A-Za-z0-9_]*\\b"));
    std::set<QString> names;
    for (const QString& expression : expressions) {
        for (const auto& match : identifier.globalMatch(expression)) {
            QString name = match.captured();
            if (name[0].isUpper() || name == QLatin1String("true") ||
                name == QLatin1String("false"))
                continue;
            if (name.startsWith(QLatin1String("backward_")))
                name.remove(0, qsizetype(sizeof("backward_") - 1));
            names.insert(name);
        }
    }
    return names;
}

// GraphHopper 11 adds these whether they are listed or not.
const std::set<QString> alwaysStored{QStringLiteral("road_environment"),
                                     QStringLiteral("road_class_link"), QStringLiteral("max_speed"),
                                     QStringLiteral("car_access")};

// distance_influence of a profile's model; GraphHopper counts a missing one as 0.
double profileDistanceInfluence(const ServerConfig& config, CostingKind kind)
{
    const double unusable = std::numeric_limits<double>::infinity();
    const auto files = config.modelFiles.find(model::graphHopperProfile(kind));
    if (files == config.modelFiles.end()) {
        ADD_FAILURE() << "config.yml has no custom model for " << model::name(kind).toStdString();
        return unusable;
    }
    double influence = 0.0;
    for (const QString& file : files->second) {
        const QJsonValue value = readModel(file)[QLatin1String("distance_influence")];
        if (!value.isUndefined() && !value.isDouble())
            ADD_FAILURE() << file.toStdString() << ": distance_influence is no number";
        if (!value.isUndefined())
            influence = std::max(influence, value.toDouble(unusable));
    }
    return influence;
}

std::set<QString> everyPreferenceKey()
{
    std::set<QString> keys;
    for (const CostingKind kind : model::allCostingKinds)
        for (const auto& preference : model::preferences(kind))
            keys.insert(preference.key);
    return keys;
}

// Slider values as the planner sets them and as a damaged or foreign plan may hold them: every
// key of every kind (a plan can carry another kind's keys), absent or at a value inside, at the
// edge of or outside 0..1, not a number or infinite. All combinations of a coarse set of values,
// then each key alone over a fine sweep.
std::vector<CostingProfile> sliderGrid()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::optional<double>> coarse{std::nullopt, -0.5, 0.0, 0.3, 1.0,
                                                    1.2,          nan,  inf, -inf};
    const std::set<QString> keysSet = everyPreferenceKey();
    const std::vector<QString> keys(keysSet.begin(), keysSet.end());
    std::vector<CostingProfile> grid;
    for (const CostingKind kind : model::allCostingKinds) {
        std::vector<std::size_t> index(keys.size(), 0);
        for (bool more = true; more;) {
            CostingProfile costing{kind, {}};
            for (std::size_t k = 0; k < keys.size(); ++k)
                if (const auto value = coarse[index[k]])
                    costing.values[keys[k]] = *value;
            grid.push_back(costing);
            more = false;
            for (std::size_t k = 0; k < keys.size() && !more; ++k) {
                more = ++index[k] < coarse.size();
                if (!more)
                    index[k] = 0;
            }
        }
        for (const QString& key : keys)
            for (int step = -100; step <= 200; ++step)
                grid.push_back({kind, {{key, step / 100.0}}});
    }
    return grid;
}

std::string json(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

std::string json(const QJsonArray& array)
{
    return QJsonDocument(array).toJson(QJsonDocument::Compact).toStdString();
}

std::string describe(const CostingProfile& costing)
{
    QString text = model::name(costing.kind);
    for (const auto& [key, value] : costing.values)
        text += QStringLiteral(" %1=%2").arg(key).arg(value);
    return text.toStdString();
}

} // namespace

TEST(GraphHopperConfig, modelsNameOnlyEncodedValuesTheServerStores)
{
    const ServerConfig config = readServerConfig();
    ASSERT_FALSE(config.encodedValues.empty()) << "graph.encoded_values not found in config.yml";
    std::set<QString> stored = alwaysStored;
    for (const QString& name : config.encodedValues) {
        // A missing comma folds two names into one that GraphHopper does not know.
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[a-z][a-z0-9_]*$")).match(name).hasMatch())
            << "graph.encoded_values holds '" << name.toStdString() << "'";
        stored.insert(name);
    }

    for (const CostingKind kind : model::allCostingKinds) {
        const QString profile = model::graphHopperProfile(kind);
        ASSERT_TRUE(config.modelFiles.contains(profile))
            << "config.yml has no profile " << profile.toStdString() << " with a custom model";
        for (const QString& file : config.modelFiles.at(profile))
            for (const QString& name : encodedValuesNamed(readModel(file)))
                EXPECT_TRUE(stored.contains(name))
                    << file.toStdString() << " uses '" << name.toStdString()
                    << "', which graph.encoded_values does not list";
    }
}

TEST(GraphHopperConfig, profilesLeaveRoomForEveryDistanceInfluenceARequestSends)
{
    double lowest = std::numeric_limits<double>::infinity();
    for (const CostingProfile& costing : sliderGrid())
        lowest = std::min(
            lowest, routing::graphhopper::customModel(costing)[QLatin1String("distance_influence")]
                        .toDouble(-std::numeric_limits<double>::infinity()));
    ASSERT_GT(lowest, 0.0);

    const ServerConfig config = readServerConfig();
    for (const CostingKind kind : model::allCostingKinds)
        EXPECT_LE(profileDistanceInfluence(config, kind), lowest)
            << model::graphHopperProfile(kind).toStdString()
            << ": landmarks refuse a request whose distance_influence is below the profile's";
}

TEST(GraphHopperCustomModel, everySliderValueGivesARequestLandmarksAccept)
{
    const ServerConfig config = readServerConfig();
    std::map<CostingKind, double> profileInfluence;
    for (const CostingKind kind : model::allCostingKinds)
        profileInfluence[kind] = profileDistanceInfluence(config, kind);

    std::vector<std::string> refused;
    const std::vector<CostingProfile> grid = sliderGrid();
    for (const CostingProfile& costing : grid) {
        const QJsonObject model = routing::graphhopper::customModel(costing);
        std::string why;
        for (const char* block : {"priority", "speed"}) {
            for (const auto& statement : model[QLatin1String(block)].toArray()) {
                const QString factor = statement[QLatin1String("multiply_by")].toString();
                bool isNumber = false;
                const double value = factor.toDouble(&isNumber);
                if (!isNumber || value < 0.0 || value > 1.0)
                    why += std::string(" ") + block + " multiply_by " + factor.toStdString();
            }
        }
        // A NaN or an infinity would reach the server as null.
        const QJsonValue influence = model[QLatin1String("distance_influence")];
        if (!influence.isDouble() || !(influence.toDouble() >= profileInfluence[costing.kind]))
            why += " distance_influence " + json(QJsonArray{influence});
        if (!why.empty())
            refused.push_back(describe(costing) + ":" + why);
    }
    EXPECT_TRUE(refused.empty()) << refused.size() << " of " << grid.size()
                                 << " requests would be refused, e.g. " << refused.front();

    // Out of range acts as the nearest edge; no number acts as not set.
    using routing::graphhopper::customModel;
    const auto request = [](CostingKind kind, const char* key, double value) {
        return json(customModel({kind, {{key, value}}}));
    };
    EXPECT_EQ(request(CostingKind::road, "avoid_climbs", 7.0),
              request(CostingKind::road, "avoid_climbs", 1.0));
    EXPECT_EQ(request(CostingKind::gravel, "use_roads", -3.0),
              request(CostingKind::gravel, "use_roads", 0.0));
    EXPECT_EQ(request(CostingKind::mtb, "avoid_climbs", std::numeric_limits<double>::quiet_NaN()),
              json(customModel({CostingKind::mtb, {}})));
}
