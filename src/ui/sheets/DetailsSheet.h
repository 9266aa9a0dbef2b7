#pragma once

#include <QDialog>
#include <QUuid>

class QFormLayout;

namespace zuvo::app {
class PlannerViewModel;
}

namespace zuvo::ui {

// The details of the route, of one anchor or of a shown track, as a form with "Done".
class DetailsSheet : public QDialog {
    Q_OBJECT

public:
    static DetailsSheet* route(app::PlannerViewModel& planner, QWidget* parent);
    static DetailsSheet* anchor(app::PlannerViewModel& planner, const QUuid& id, QWidget* parent);
    static DetailsSheet* track(app::PlannerViewModel& planner, const QString& id, QWidget* parent);

    // The value shown in the row of that title, or an empty text.
    QString value(const QString& title) const;

signals:
    void helpRequested(const QString& anchor);

private:
    DetailsSheet(const QString& title, QWidget* parent);
    void row(const QString& title, const QString& value);

    QFormLayout* m_form;
};

} // namespace zuvo::ui
