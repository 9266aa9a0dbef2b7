#include "ui/sheets/DeviceSendSheet.h"

#include "app/devices/DeviceSendController.h"
#include "ui/Heading.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <qcoro/qcorosignal.h>

namespace zuvo::ui {

using app::DeviceSendController;

DeviceSendSheet::DeviceSendSheet(DeviceSendController& controller,
                                 const std::optional<QString>& problem, QWidget* parent)
    : QDialog(parent)
    , m_controller(controller)
{
    setWindowTitle(tr("Send course to device"));
    setMinimumWidth(440);
    auto* layout = new QVBoxLayout(this);
    if (problem) {
        auto* title = heading(tr("No route to send"), this);
        title->setObjectName(QStringLiteral("noRouteTitle"));
        auto* close = new QPushButton(tr("Close"), this);
        close->setDefault(true);
        connect(close, &QPushButton::clicked, this, &QDialog::reject);
        layout->addWidget(title);
        auto* reason = new QLabel(*problem, this);
        reason->setObjectName(QStringLiteral("noRouteReason"));
        reason->setWordWrap(true);
        layout->addWidget(reason);
        layout->addWidget(close, 0, Qt::AlignRight);
        return;
    }

    m_name = new QLineEdit(controller.courseName(), this);
    m_name->setObjectName(QStringLiteral("courseName"));
    m_devices = new QComboBox(this);
    m_devices->setObjectName(QStringLiteral("deviceSendPicker"));
    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("courseFormat"));
    for (const auto format :
         {DeviceSendController::CourseFormat::gpx, DeviceSendController::CourseFormat::fit})
        m_format->addItem(DeviceSendController::formatLabel(format), int(format));
    m_format->setToolTip(tr("A FIT course tells a Garmin the turns, via points and climbs ahead; "
                            "a Bryton always gets a tour."));
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("sendResult"));
    m_result->setWordWrap(true);
    m_busy = new QProgressBar(this);
    m_busy->setRange(0, 0);
    m_busy->setMaximumHeight(8);
    m_busy->setTextVisible(false);
    m_noDevice = new QLabel(app::DeviceFlows::noDeviceTitle() + QStringLiteral("\n") +
                                app::DeviceFlows::noDeviceHint(),
                            this);
    m_noDevice->setWordWrap(true);
    m_send = new QPushButton(tr("Send"), this);
    m_send->setDefault(true);
    auto* rescan = new QPushButton(tr("Rescan"), this);
    rescan->setAutoDefault(false);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setAutoDefault(false);

    m_form = new QFormLayout;
    m_form->addRow(tr("Course name"), m_name);
    m_form->addRow(tr("Device"), m_devices);
    m_form->addRow(tr("Format"), m_format);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(rescan);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(m_send);
    layout->addLayout(m_form);
    layout->addWidget(m_noDevice);
    layout->addWidget(m_busy);
    layout->addWidget(m_result);
    layout->addLayout(buttons);

    connect(m_name, &QLineEdit::textEdited, &controller, &DeviceSendController::setCourseName);
    connect(m_devices, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < int(m_controller.devices().size()))
            m_controller.selectDevice(m_controller.devices()[std::size_t(index)]);
    });
    connect(m_format, &QComboBox::activated, this, [this](int index) {
        m_controller.setFormat(
            static_cast<DeviceSendController::CourseFormat>(m_format->itemData(index).toInt()));
    });
    connect(rescan, &QPushButton::clicked, this, [this] { m_controller.scan(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_send, &QPushButton::clicked, this, [this] { m_controller.send(); });
    connect(&controller, &DeviceSendController::changed, this, &DeviceSendSheet::refresh);
    connect(&controller, &DeviceSendController::finished, this, &QDialog::accept);
    controller.setAskReplace([this](QString question) { return askReplace(std::move(question)); });
    refresh();
}

QCoro::Task<DeviceSendController::Existing> DeviceSendSheet::askReplace(QString question)
{
    using Existing = DeviceSendController::Existing;
    // Opened, not executed: the sheet's event loop keeps running while the rider decides.
    QPointer box(new QMessageBox(QMessageBox::Question, windowTitle(), question,
                                 QMessageBox::NoButton, this));
    auto* replace = box->addButton(tr("Replace"), QMessageBox::DestructiveRole);
    auto* keepBoth = box->addButton(tr("Keep both"), QMessageBox::AcceptRole);
    auto* cancel = box->addButton(tr("Cancel"), QMessageBox::RejectRole);
    box->setDefaultButton(keepBoth);
    box->setEscapeButton(cancel);
    box->open();
    co_await qCoro(box.data(), &QMessageBox::finished);
    if (!box)
        co_return Existing::cancel;
    const QAbstractButton* clicked = box->clickedButton();
    box->deleteLater();
    if (clicked == replace)
        co_return Existing::replace;
    co_return clicked == keepBoth ? Existing::keepBoth : Existing::cancel;
}

void DeviceSendSheet::refresh()
{
    const auto& c = m_controller;
    m_devices->clear();
    for (const auto& device : c.devices())
        m_devices->addItem(app::DeviceFlows::sendLabel(device));
    if (c.selectedDevice()) {
        const auto at = std::find(c.devices().begin(), c.devices().end(), *c.selectedDevice());
        m_devices->setCurrentIndex(int(at - c.devices().begin()));
    }
    m_noDevice->setVisible(c.devices().empty() && !c.isBusy());
    // The choice is a Garmin's; a Bryton always takes a tour and has nothing to choose.
    const bool choice =
        c.selectedDevice() && !DeviceSendController::formats(*c.selectedDevice()).empty();
    m_form->setRowVisible(m_format, choice);
    m_format->setEnabled(!c.isBusy());
    m_format->setCurrentIndex(m_format->findData(int(c.format())));
    m_busy->setVisible(c.isBusy());
    m_result->setText(c.result().value_or(QString()));
    m_result->setStyleSheet(c.failed() ? QStringLiteral("color: #ff8a80;") : QString());
    m_send->setEnabled(!c.isBusy() && c.selectedDevice().has_value());
    // Rows shown once a device is found would otherwise be squeezed into the first size.
    resize(size().expandedTo(sizeHint()));
}

} // namespace zuvo::ui
