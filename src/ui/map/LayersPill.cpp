#include "ui/map/LayersPill.h"

#include "app/planner/PlannerViewModel.h"
#include "ui/Heading.h"
#include "ui/map/LayerIcons.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zuvo::ui {

namespace {

QToolButton* toggle(const QIcon& symbol, const QString& help, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setIcon(symbol);
    button->setIconSize(QSize(20, 20));
    button->setToolTip(help);
    button->setAccessibleName(help);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setMinimumSize(34, 30);
    return button;
}

} // namespace

LayersPill::LayersPill(app::PlannerViewModel& planner, QWidget* parent)
    : QFrame(parent)
    , m_planner(planner)
{
    setObjectName(QStringLiteral("layersPill"));
    setStyleSheet(QStringLiteral("#layersPill { background: rgba(30, 31, 34, 225); "
                                 "border-radius: 15px; } QToolButton { color: #f0f0f0; "
                                 "font-size: 15px; } QToolButton:checked { background: #3d6fb4; "
                                 "border-radius: 12px; }"));
    auto* cycle = toggle(LayerIcons::bicycle(), tr("Cycle networks"), this);
    auto* hillshade = toggle(LayerIcons::mountain(), tr("Hillshade"), this);
    auto* terrain = toggle(LayerIcons::cube(), tr("3D terrain"), this);
    m_pois = toggle(LayerIcons::pin(), tr("Points of interest"), this);
    m_pois->setCheckable(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(2);
    for (auto* button : {cycle, hillshade, terrain, m_pois})
        layout->addWidget(button);

    const auto update = [=, &planner] {
        cycle->setChecked(planner.cycleNetworksVisible());
        hillshade->setChecked(planner.hillshadeVisible());
        terrain->setChecked(planner.terrain3D());
    };
    connect(&planner, &app::PlannerViewModel::layersChanged, this, update);
    update();
    connect(cycle, &QToolButton::toggled, this, [&planner](bool on) {
        if (on != planner.cycleNetworksVisible())
            planner.setCycleNetworksVisible(on);
    });
    connect(hillshade, &QToolButton::toggled, this, [&planner](bool on) {
        if (on != planner.hillshadeVisible())
            planner.setHillshadeVisible(on);
    });
    connect(terrain, &QToolButton::toggled, this, [&planner](bool on) {
        if (on != planner.terrain3D())
            planner.setTerrain3D(on);
    });
    connect(m_pois, &QToolButton::clicked, this, &LayersPill::showPOIPopover);
}

void LayersPill::showPOIPopover()
{
    auto* popover = new QFrame(this, Qt::Popup);
    popover->setAttribute(Qt::WA_DeleteOnClose);
    popover->setObjectName(QStringLiteral("poiPopover"));
    auto* layout = new QVBoxLayout(popover);
    layout->addWidget(heading(tr("Points of interest"), popover));
    for (const auto& category : app::PlannerViewModel::allPOICategories()) {
        auto* box = new QCheckBox(
            QCoreApplication::translate("POICategory", category.label.toUtf8().constData()),
            popover);
        box->setChecked(m_planner.poiCategories().contains(category.key));
        connect(box, &QCheckBox::toggled, popover, [this, key = category.key](bool on) {
            auto categories = m_planner.poiCategories();
            if (on)
                categories.insert(key);
            else
                categories.erase(key);
            m_planner.setPOICategories(categories);
        });
        layout->addWidget(box);
    }
    auto* area = new QPushButton(tr("Show the routing server's area"), popover);
    connect(area, &QPushButton::clicked, this, [this, popover] {
        popover->close();
        m_planner.revealServerArea();
    });
    layout->addWidget(area);
    auto* import = new QPushButton(tr("Import POI GPX…"), popover);
    connect(import, &QPushButton::clicked, this, [this, popover] {
        popover->close();
        emit importPOIsRequested();
    });
    layout->addWidget(import);
    popover->adjustSize();
    const QPoint below = m_pois->mapToGlobal(QPoint(m_pois->width(), m_pois->height() + 4));
    popover->move(below.x() - popover->width(), below.y());
    popover->show();
}

} // namespace zuvo::ui
