#pragma once

#include "map/ScaleBar.h"

#include <QWidget>

namespace zuvo::ui {

// The scale bar in the map's corner: a round length for the current zoom and latitude.
class ScaleBarView : public QWidget {
    Q_OBJECT

public:
    explicit ScaleBarView(QWidget* parent = nullptr);

    void setView(double zoom, double latitude);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int labelWidth() const;

    map::ScaleBar::Layout m_layout;
};

} // namespace zuvo::ui
