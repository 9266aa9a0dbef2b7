#include "ui/map/ColorPanel.h"

#include "map/MapColorStore.h"
#include "ui/Heading.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace zuvo::ui {

namespace {

QColor colorOf(const QString& hex)
{
    const auto rgb = map::MapColorHex::rgb(hex);
    return rgb ? QColor(rgb->red, rgb->green, rgb->blue) : QColor(Qt::black);
}

} // namespace

ColorPanel::ColorPanel(map::MapColorStore& colors, QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("colorPanel"));
    setStyleSheet(QStringLiteral("#colorPanel { background: #26282c; border-radius: 8px; }"));
    auto* title = heading(tr("Map Colours"), this);

    auto* rows = new QWidget;
    auto* grid = new QGridLayout(rows);
    int row = 0;
    for (const auto& component : map::MapColorComponent::all()) {
        const QString id = component.id;
        auto* well = new QToolButton(rows);
        well->setFixedSize(28, 20);
        well->setToolTip(tr("Choose a colour"));
        auto* text = new QLineEdit(rows);
        text->setPlaceholderText(QStringLiteral("#RRGGBB"));
        text->setMaximumWidth(90);
        auto* reset = new QToolButton(rows);
        reset->setText(QStringLiteral("↺"));
        reset->setToolTip(tr("Reset to default"));
        grid->addWidget(new QLabel(QCoreApplication::translate("MapColorComponent",
                                                               component.displayName.toUtf8()),
                                   rows),
                        row, 0);
        grid->addWidget(well, row, 1);
        grid->addWidget(text, row, 2);
        grid->addWidget(reset, row, 3);
        ++row;

        const auto show = [well, text, &colors, id] {
            const QString hex = colors.hex(id);
            well->setStyleSheet(
                QStringLiteral("background: %1; border: 1px solid #888;").arg(colorOf(hex).name()));
            if (!text->hasFocus())
                text->setText(hex);
        };
        show();
        connect(&colors, &map::MapColorStore::changed, text, show);
        connect(well, &QToolButton::clicked, this, [this, &colors, id] {
            const QColor picked = QColorDialog::getColor(colorOf(colors.hex(id)), this);
            if (!picked.isValid())
                return;
            const QColor srgb = picked.toRgb();
            const auto channel = [](float f) { return int(std::lround(f * 255.0f)); };
            colors.set(QString::asprintf("#%02X%02X%02X", channel(srgb.redF()),
                                         channel(srgb.greenF()), channel(srgb.blueF())),
                       id);
        });
        connect(text, &QLineEdit::editingFinished, this, [text, &colors, id] {
            if (const auto normalized = map::MapColorHex::normalized(text->text())) {
                text->setText(*normalized);
                colors.set(*normalized, id);
            } else {
                text->setText(colors.hex(id));
            }
        });
        connect(reset, &QToolButton::clicked, this, [&colors, id] { colors.reset(id); });
    }
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(rows);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* resetAll = new QPushButton(tr("Reset All"), this);
    connect(resetAll, &QPushButton::clicked, this, [&colors] { colors.resetAll(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(scroll, 1);
    layout->addWidget(resetAll, 0, Qt::AlignRight);
    setMinimumSize(330, 420);
}

} // namespace zuvo::ui
