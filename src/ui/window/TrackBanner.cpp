#include "ui/window/TrackBanner.h"

#include "app/planner/PlannerViewModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace zuvo::ui {

TrackBanner::TrackBanner(app::PlannerViewModel& planner, QWidget* parent)
    : QFrame(parent)
    , m_text(new QLabel(this))
{
    setObjectName(QStringLiteral("trackBanner"));
    setStyleSheet(QStringLiteral("#trackBanner { background: rgba(30, 60, 100, 225); "
                                 "border-radius: 6px; } QLabel { color: #f0f4ff; }"));
    // A recovered ride's notice follows its name; long ones wrap rather than being cut.
    m_text->setWordWrap(true);
    auto* convert = new QPushButton(tr("Convert to route"), this);
    convert->setObjectName(QStringLiteral("convertTrack"));
    auto* details = new QPushButton(tr("Details…"), this);
    auto* dismiss = new QPushButton(tr("Dismiss"), this);
    dismiss->setObjectName(QStringLiteral("dismissTrack"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 4, 6, 4);
    layout->addWidget(m_text, 1);
    layout->addWidget(details);
    layout->addWidget(convert);
    layout->addWidget(dismiss);

    connect(convert, &QPushButton::clicked, this, &TrackBanner::convertRequested);
    connect(dismiss, &QPushButton::clicked, this, [&planner] {
        if (!planner.shownTracks().empty())
            planner.removeShownTrack(planner.shownTracks().back().id);
    });
    connect(details, &QPushButton::clicked, this, [this, &planner] {
        if (!planner.shownTracks().empty())
            emit detailsRequested(planner.shownTracks().back().id);
    });
    const auto update = [this, &planner] {
        const auto& tracks = planner.shownTracks();
        QString text;
        if (!tracks.empty()) {
            text = tr("Track shown") + QStringLiteral(": ") + tracks.back().name;
            if (!tracks.back().notice.isEmpty())
                text += QStringLiteral(" — ") + tracks.back().notice;
        }
        m_text->setText(text);
        setVisible(!tracks.empty());
    };
    connect(&planner, &app::PlannerViewModel::shownTracksChanged, this, update);
    update();
}

QString TrackBanner::text() const
{
    return m_text->text();
}

} // namespace zuvo::ui
