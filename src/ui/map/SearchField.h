#pragma once

#include <QFrame>
#include <QLineEdit>

class QLabel;
class QListWidget;

namespace zuvo::app {
class PlaceSearchController;
class PlannerViewModel;
} // namespace zuvo::app

namespace zuvo::ui {

// The address field: typing searches after a pause, Return or the down arrow takes the first
// place, Escape clears. While a search runs a busy mark stands where the clear button was.
class SearchField : public QLineEdit {
    Q_OBJECT

public:
    SearchField(app::PlaceSearchController& search, app::PlannerViewModel& planner,
                QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    app::PlaceSearchController& m_search;
    QLabel* m_busy;
};

// The places found, under the search field; a click picks one.
class SearchResultsList : public QFrame {
    Q_OBJECT

public:
    SearchResultsList(app::PlaceSearchController& search, app::PlannerViewModel& planner,
                      QWidget* parent = nullptr);
    QSize sizeHint() const override;

private:
    QListWidget* m_list;
    QLabel* m_message;
};

} // namespace zuvo::ui
