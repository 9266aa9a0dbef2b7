#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace zuvo::app {
class LoopSuggestions;
}

namespace zuvo::ui {

// "Loop from here": the length and direction of a round trip, three suggestions to compare on
// the map (hovering one highlights it), and one of them made the plan. Escape stops the requests
// in flight before it closes the sheet.
class LoopSheet : public QDialog {
    Q_OBJECT

public:
    // `mayReplacePlan` settles unsaved changes first, as New does; false keeps the plan.
    LoopSheet(app::LoopSuggestions& loops, std::function<bool()> mayReplacePlan,
              QWidget* parent = nullptr);

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void use(int slot);

    app::LoopSuggestions& m_loops;
    std::function<bool()> m_mayReplacePlan;
    QDoubleSpinBox* m_km;
    QComboBox* m_direction;
    QLabel* m_profile;
    QPushButton* m_suggest;
    QPushButton* m_more;
    QProgressBar* m_progress;
    struct Row {
        QWidget* box = nullptr;
        QLabel* figures = nullptr;
        QLabel* off = nullptr;
        QPushButton* use = nullptr;
    };
    std::array<Row, 3> m_rows;
};

} // namespace zuvo::ui
