#include "ui/Heading.h"

namespace zuvo::ui {

QLabel* heading(const QString& text, QWidget* parent, double scale)
{
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * scale);
    label->setFont(bold);
    return label;
}

} // namespace zuvo::ui
