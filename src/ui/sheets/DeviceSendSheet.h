#pragma once

#include <QDialog>

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
    // `hasRoute` false shows only why nothing can be sent.
    DeviceSendSheet(app::DeviceSendController& controller, bool hasRoute,
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
