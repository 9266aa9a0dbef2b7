#pragma once

#include "app/devices/DeviceSendController.h"

#include <QDialog>

#include <qcoro/qcorotask.h>

#include <optional>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

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
    // "Replace", "Keep both" or "Cancel", in a box over the sheet.
    QCoro::Task<app::DeviceSendController::Existing> askReplace(QString question);

    app::DeviceSendController& m_controller;
    QLineEdit* m_name = nullptr;
    QComboBox* m_devices = nullptr;
    QComboBox* m_format = nullptr;
    QFormLayout* m_form = nullptr;
    QLabel* m_result = nullptr;
    QProgressBar* m_busy = nullptr;
    QPushButton* m_send = nullptr;
    QLabel* m_noDevice = nullptr;
};

} // namespace zuvo::ui
