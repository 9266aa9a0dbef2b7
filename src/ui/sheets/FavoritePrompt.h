#pragma once

#include <QDialog>

class QLineEdit;

namespace zuvo::ui {

// Asks the name a place is kept under as a favourite.
class FavoritePrompt : public QDialog {
    Q_OBJECT

public:
    FavoritePrompt(const QString& proposal, QWidget* parent = nullptr);
    QString name() const;

private:
    QLineEdit* m_name;
};

} // namespace zuvo::ui
