#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace zuvo::app {
class DeviceImportController;
}

namespace zuvo::ui {

// "Import ride from device": the rides or courses on a bike computer, to copy into the library.
class DeviceImportSheet : public QDialog {
    Q_OBJECT

public:
    DeviceImportSheet(app::DeviceImportController& controller, QWidget* parent = nullptr);

    void reject() override;

private:
    void refresh();

    app::DeviceImportController& m_controller;
    QStackedWidget* m_pages;
    QComboBox* m_devices;
    QComboBox* m_source;
    QListWidget* m_items;
    QLabel* m_progress;
    QProgressBar* m_busy;
    QLabel* m_error;
    QLabel* m_notice;
    QLabel* m_empty;
    QPushButton* m_import;
};

} // namespace zuvo::ui
