#include "ui/sheets/DetailsSheet.h"

#include "app/planner/PanelRules.h"
#include "app/planner/PlannerViewModel.h"
#include "model/RouteStats.h"
#include "model/TrackSampleStats.h"
#include "ui/Heading.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zuvo::ui {

DetailsSheet::DetailsSheet(const QString& title, QWidget* parent)
    : QDialog(parent)
    , m_form(new QFormLayout)
{
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* head = heading(title, this, 1.15);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("Done"), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(head);
    layout->addLayout(m_form);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

void DetailsSheet::row(const QString& title, const QString& value)
{
    auto* label = new QLabel(value, this);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_form->addRow(title, label);
}

QString DetailsSheet::value(const QString& title) const
{
    for (int i = 0; i < m_form->rowCount(); ++i) {
        auto* name = qobject_cast<QLabel*>(m_form->itemAt(i, QFormLayout::LabelRole)->widget());
        auto* value = qobject_cast<QLabel*>(m_form->itemAt(i, QFormLayout::FieldRole)->widget());
        if (name && value && name->text() == title)
            return value->text();
    }
    return {};
}

DetailsSheet* DetailsSheet::route(app::PlannerViewModel& planner, QWidget* parent)
{
    auto* sheet = new DetailsSheet(tr("Route Details"), parent);
    const auto& route = planner.route();
    const auto figures =
        app::PanelRules::summary(route, planner.gradeProfile(), planner.costingKind());
    const auto via =
        std::count_if(route.anchors.begin(), route.anchors.end(),
                      [](const model::Anchor& a) { return a.kind == model::Anchor::Kind::via; });
    sheet->row(tr("Name"), planner.documentName());
    sheet->row(tr("Profile"), model::pickerLabel(planner.costingKind()));
    sheet->row(tr("Distance"), figures.distance);
    sheet->row(tr("Ascent"), figures.ascent);
    sheet->row(tr("Descent"), figures.descent);
    sheet->row(tr("Est. time"), figures.estimated);
    sheet->row(tr("Climbs"), app::PanelRules::climbCount(planner.gradeProfile()));
    sheet->row(tr("Surface"),
               app::PanelRules::surfaceLegend(model::RouteStats::surfaceShares(route)));
    sheet->row(tr("Anchors"), tr("%1 (%2 via, %3 shaping)")
                                  .arg(route.anchors.size())
                                  .arg(via)
                                  .arg(qsizetype(route.anchors.size()) - via));
    sheet->row(tr("Round trip"), route.roundTrip ? tr("Yes") : tr("No"));
    return sheet;
}

DetailsSheet* DetailsSheet::anchor(app::PlannerViewModel& planner, const QUuid& id, QWidget* parent)
{
    auto* sheet = new DetailsSheet(tr("Anchor Details"), parent);
    for (const auto& anchor : planner.route().anchors) {
        if (anchor.id != id)
            continue;
        const auto& at = anchor.routingPosition();
        sheet->row(tr("Kind"),
                   anchor.kind == model::Anchor::Kind::via ? tr("Via point") : tr("Shaping point"));
        sheet->row(tr("Coordinate"), QString::asprintf("%.5f, %.5f", at.latitude, at.longitude));
        if (at.elevation)
            sheet->row(tr("Elevation"), QString::asprintf("%.0f m", *at.elevation));
    }
    return sheet;
}

DetailsSheet* DetailsSheet::track(app::PlannerViewModel& planner, const QString& id,
                                  QWidget* parent)
{
    auto* sheet = new DetailsSheet(tr("Track Details"), parent);
    const auto& tracks = planner.shownTracks();
    const auto it = std::find_if(tracks.begin(), tracks.end(),
                                 [&](const model::ShownTrack& t) { return t.id == id; });
    if (it == tracks.end())
        return sheet;
    const auto stats = model::TrackSampleStats::compute(it->samples, 1.0);
    if (!stats)
        return sheet;
    const auto orDash = [](const auto& value, const char* format) {
        return value ? QString::asprintf(format, double(*value)) : QStringLiteral("—");
    };
    sheet->row(tr("Distance"), QString::asprintf("%.1f km", stats->distance / 1000.0));
    sheet->row(tr("Duration"), stats->duration
                                   ? model::RouteStats::formattedDuration(*stats->duration)
                                   : QStringLiteral("—"));
    sheet->row(tr("Avg speed"), orDash(stats->averageSpeed, "%.1f km/h"));
    sheet->row(tr("Max speed"), orDash(stats->maxSpeed, "%.1f km/h"));
    sheet->row(tr("Avg heart rate"), orDash(stats->averageHeartRate, "%.0f bpm"));
    sheet->row(tr("Max heart rate"), orDash(stats->maxHeartRate, "%.0f bpm"));
    sheet->row(
        tr("Temperature"),
        stats->minTemperature
            ? QStringLiteral("%1 – %2 °C").arg(*stats->minTemperature).arg(*stats->maxTemperature)
            : QStringLiteral("—"));
    sheet->row(tr("Ascent"), orDash(stats->ascent, "%.0f m"));
    sheet->row(tr("Descent"), orDash(stats->descent, "%.0f m"));
    auto* help = new QPushButton(tr("About these figures"), sheet);
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, sheet,
            [sheet] { emit sheet->helpRequested(QStringLiteral("help-trackdetails")); });
    sheet->m_form->addRow(QString(), help);
    return sheet;
}

} // namespace zuvo::ui
