#pragma once

#include "app/devices/DeviceFlows.h"

#include <QString>

#include <functional>

class QSettings;

namespace zuvo::app {
class DeviceWatcher;
class PhotonClient;
class PlannerViewModel;
class RoutingServerStatus;
class ToastCenter;
} // namespace zuvo::app

namespace zuvo::map {
class MapBridge;
class MapColorStore;
} // namespace zuvo::map

namespace zuvo::ui {

class LocationProvider;

// The long-lived objects the shell creates once and the windows use.
struct Services {
    QSettings& settings;
    app::PlannerViewModel& planner;
    map::MapBridge& bridge;
    map::MapColorStore& colors;
    app::ToastCenter& toasts;
    app::DeviceWatcher& devices;
    LocationProvider& location;
    app::PhotonClient& photon;
    app::RoutingServerStatus& serverStatus;
    app::DeviceFlows::Transports transports;
    QString routesFolder;
    QString mapFolder;
    // Read when the map starts and each time the page asks for its style.
    std::function<QString()> tilesBase;
};

} // namespace zuvo::ui
