#pragma once

#include <QFrame>

namespace zuvo::map {
class MapColorStore;
}

namespace zuvo::ui {

// "Map colors": one row per part of the map with a colour well, its hex text and a reset.
class ColorPanel : public QFrame {
    Q_OBJECT

public:
    explicit ColorPanel(map::MapColorStore& colors, QWidget* parent = nullptr);
};

} // namespace zuvo::ui
