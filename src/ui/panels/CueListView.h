#pragma once

#include <QWidget>

class QLabel;
class QListView;

namespace zuvo::app {
class CueListModel;
}

namespace zuvo::ui {

// The route's turn cues as a list: the sign's arrow, the street (or what to do) and the km from
// the start; choosing one shows it on the map. An empty list says why it is empty.
class CueListView : public QWidget {
    Q_OBJECT

public:
    explicit CueListView(app::CueListModel& model, QWidget* parent = nullptr);

    QListView* list() const { return m_list; }

private:
    void refresh();

    app::CueListModel& m_model;
    QListView* m_list;
    QLabel* m_empty;
};

} // namespace zuvo::ui
