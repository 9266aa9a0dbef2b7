#include "app/planner/CueList.h"

#include "app/planner/PlannerViewModel.h"
#include "map/MapBridge.h"

#include <QCoreApplication>

#include <algorithm>

namespace zuvo::app {

using Sign = model::Cue::Sign;

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(CueList)
};

// Half the side of the box a selected cue is framed in: the junction and its approach.
constexpr double frameDegrees = 0.0025;

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Tabs and line breaks would split the line.
QString tsvField(const QString& text)
{
    return text.simplified();
}

} // namespace

QString cueInstruction(const model::Cue& cue)
{
    const QString street = cue.streetName.isEmpty() ? cue.streetRef : cue.streetName;
    const auto onto = [&](const QString& plain, const QString& withStreet) {
        return street.isEmpty() ? plain : withStreet.arg(street);
    };
    switch (cue.sign) {
    case Sign::left:
        return onto(Texts::tr("Turn left"), Texts::tr("Turn left onto %1"));
    case Sign::right:
        return onto(Texts::tr("Turn right"), Texts::tr("Turn right onto %1"));
    case Sign::slightLeft:
        return onto(Texts::tr("Bear left"), Texts::tr("Bear left onto %1"));
    case Sign::slightRight:
        return onto(Texts::tr("Bear right"), Texts::tr("Bear right onto %1"));
    case Sign::sharpLeft:
        return onto(Texts::tr("Turn sharp left"), Texts::tr("Turn sharp left onto %1"));
    case Sign::sharpRight:
        return onto(Texts::tr("Turn sharp right"), Texts::tr("Turn sharp right onto %1"));
    case Sign::uTurn:
    case Sign::uTurnLeft:
    case Sign::uTurnRight:
        return onto(Texts::tr("Make a U-turn"), Texts::tr("Make a U-turn onto %1"));
    case Sign::keepLeft:
        return onto(Texts::tr("Keep left"), Texts::tr("Keep left onto %1"));
    case Sign::keepRight:
        return onto(Texts::tr("Keep right"), Texts::tr("Keep right onto %1"));
    case Sign::roundabout:
        if (!cue.exitNumber)
            return onto(Texts::tr("Enter the roundabout"), Texts::tr("Enter the roundabout to %1"));
        if (street.isEmpty())
            return Texts::tr("At the roundabout, take exit %1").arg(*cue.exitNumber);
        return Texts::tr("At the roundabout, take exit %1 onto %2")
            .arg(*cue.exitNumber)
            .arg(street);
    case Sign::leaveRoundabout:
        return Texts::tr("Leave the roundabout");
    case Sign::ferry:
        return Texts::tr("Take the ferry");
    case Sign::finish:
        return Texts::tr("Arrive at the finish");
    case Sign::viaReached:
        return Texts::tr("Via %1").arg(cue.viaNumber.value_or(0));
    case Sign::straight:
    case Sign::unknown:
        break;
    }
    return onto(Texts::tr("Continue"), Texts::tr("Continue onto %1"));
}

std::optional<QString> cueListProblem(const model::Route& route, model::CostingKind kind,
                                      bool routed)
{
    if (kind == model::CostingKind::motorcycle)
        return Texts::tr("The routing server gives no turn cues for motorcycle routes.");
    if (!routed)
        return Texts::tr("Plan a route to see its turn cues.");
    const auto hasCues = [](const std::optional<model::RouteLeg>& leg) {
        return leg && std::any_of(leg->segments.begin(), leg->segments.end(),
                                  [](const auto& segment) { return !segment.cues.empty(); });
    };
    if (std::none_of(route.legs.begin(), route.legs.end(), hasCues) &&
        !(route.closingLeg && hasCues(route.closingLeg)))
        return Texts::tr("No turn cues for this route. Changing the route fetches them.");
    return std::nullopt;
}

std::vector<CueRow> cueRows(const model::Route& route)
{
    std::vector<CueRow> rows;
    for (auto& cue : model::routeCues(route)) {
        CueRow row{.cue = cue,
                   .instruction = cue.sign == Sign::viaReached || cue.text.isEmpty()
                                      ? cueInstruction(cue)
                                      : cue.text,
                   .street = cue.streetName.isEmpty() ? cue.streetRef : cue.streetName};
        if (!rows.empty())
            rows.back().toNext = std::max(cue.distance - rows.back().cue.distance, 0.0);
        rows.push_back(std::move(row));
    }
    return rows;
}

QByteArray cueSheetCsv(const std::vector<CueRow>& rows)
{
    QString text = QStringLiteral("km,sign,instruction,street,km to next\r\n");
    for (const auto& row : rows) {
        text += QString::number(row.km(), 'f', 2) + QLatin1Char(',') +
                model::Cue::signName(row.cue.sign) + QLatin1Char(',') + csvField(row.instruction) +
                QLatin1Char(',') + csvField(row.street) + QLatin1Char(',') +
                (row.toNext ? QString::number(*row.toNext / 1000.0, 'f', 2) : QString()) +
                QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

QString cueLine(const CueRow& row)
{
    return QString::number(row.km(), 'f', 2) + QLatin1Char('\t') +
           model::Cue::signName(row.cue.sign) + QLatin1Char('\t') + tsvField(row.street) +
           QLatin1Char('\t') + tsvField(row.cue.text);
}

CueListModel::CueListModel(PlannerViewModel& planner, QObject* parent)
    : QAbstractListModel(parent)
    , m_planner(planner)
{
    connect(&planner, &PlannerViewModel::routeChanged, this, &CueListModel::refresh);
    connect(&planner, &PlannerViewModel::costingKindChanged, this, &CueListModel::refresh);
    refresh();
}

int CueListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant CueListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const CueRow& row = m_rows[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row.street.isEmpty() || row.cue.sign == Sign::viaReached ? row.instruction
                                                                        : row.street;
    case Qt::ToolTipRole:
        return row.instruction;
    case signRole:
        return int(row.cue.sign);
    case exitRole:
        return row.cue.exitNumber ? QVariant(*row.cue.exitNumber) : QVariant();
    case kilometresRole:
        return Texts::tr("%1 km").arg(row.km(), 0, 'f', 1);
    default:
        return {};
    }
}

std::optional<QString> CueListModel::emptyText() const
{
    return cueListProblem(m_planner.route(), m_planner.costingKind(),
                          m_planner.routeCoordinates().size() >= 2);
}

void CueListModel::select(int row)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    const model::Coordinate& at = m_rows[std::size_t(row)].cue.position;
    m_planner.frame({at.longitude - frameDegrees, at.latitude - frameDegrees,
                     at.longitude + frameDegrees, at.latitude + frameDegrees});
    if (auto* bridge = m_planner.bridge())
        bridge->setCrosshair(at.longitude, at.latitude, true);
    m_marked = at;
}

void CueListModel::refresh()
{
    unmark();
    beginResetModel();
    // A motorcycle route keeps the cues of a profile it was routed with before.
    m_rows = m_planner.costingKind() == model::CostingKind::motorcycle ? std::vector<CueRow>()
                                                                       : cueRows(m_planner.route());
    endResetModel();
}

void CueListModel::unmark()
{
    if (!m_marked)
        return;
    if (auto* bridge = m_planner.bridge())
        bridge->setCrosshair(m_marked->longitude, m_marked->latitude, false);
    m_marked.reset();
}

} // namespace zuvo::app
