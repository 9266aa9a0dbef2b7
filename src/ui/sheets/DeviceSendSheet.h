#pragma once

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace zuvo::app {
class DeviceSendController;
}

namespace zuvo::ui {

// "Send course to device": the planned route to a Garmin as a course or to a Bryton as a tour.
class DeviceSendSheet : public QDialog {
    Q_OBJECT

public:
    // A `problem` is all the sheet shows: why the route cannot be sent.
    DeviceSendSheet(app::DeviceSendController& controller, const std::optional<QString>& problem,
                    QWidget* parent = nullptr);

private:
    void refresh();

    app::DeviceSendController& m_controller;
    QLineEdit* m_name = nullptr;
    QComboBox* m_devices = nullptr;
    QComboBox* m_format = nullptr;
    QLabel* m_result = nullptr;
    QProgressBar* m_busy = nullptr;
    QPushButton* m_send = nullptr;
    QLabel* m_noDevice = nullptr;
};

} // namespace zuvo::ui
