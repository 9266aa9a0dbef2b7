#pragma once

#include <QDialog>

class QLineEdit;

namespace zuvo::ui {

// Asks which symbol the imported points of interest are drawn with.
class POISymbolSheet : public QDialog {
    Q_OBJECT

public:
    POISymbolSheet(std::size_t count, const QString& current, QWidget* parent = nullptr);

    QString glyph() const;

private:
    QLineEdit* m_glyph;
};

} // namespace zuvo::ui
