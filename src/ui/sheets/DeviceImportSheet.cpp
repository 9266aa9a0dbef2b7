#include "ui/sheets/DeviceImportSheet.h"

#include "app/devices/DeviceImportController.h"
#include "ui/Heading.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace zuvo::ui {

using app::DeviceImportController;

DeviceImportSheet::DeviceImportSheet(DeviceImportController& controller, QWidget* parent)
    : QDialog(parent)
    , m_controller(controller)
    , m_pages(new QStackedWidget(this))
    , m_devices(new QComboBox(this))
    , m_source(new QComboBox(this))
    , m_items(new QListWidget(this))
    , m_progress(new QLabel(this))
    , m_busy(new QProgressBar(this))
    , m_error(new QLabel(this))
    , m_notice(new QLabel(this))
    , m_empty(new QLabel(this))
    , m_import(new QPushButton(tr("Import"), this))
{
    setWindowTitle(tr("Import ride from device"));
    setMinimumSize(460, 420);
    m_devices->setObjectName(QStringLiteral("deviceImportPicker"));
    m_items->setObjectName(QStringLiteral("deviceItems"));
    m_error->setObjectName(QStringLiteral("importError"));
    m_error->setStyleSheet(QStringLiteral("color: #ff8a80;"));
    m_error->setWordWrap(true);
    m_notice->setObjectName(QStringLiteral("importNotice"));
    m_notice->setStyleSheet(QStringLiteral("color: #ffd180;"));
    m_notice->setWordWrap(true);
    m_empty->setObjectName(QStringLiteral("emptyList"));
    m_empty->setWordWrap(true);
    m_empty->setAlignment(Qt::AlignCenter);
    m_busy->setRange(0, 0);
    m_busy->setMaximumHeight(8);
    m_busy->setTextVisible(false);
    m_source->addItem(tr("Activities"));
    m_source->addItem(tr("Courses"));

    auto* none = new QWidget(this);
    auto* noneLayout = new QVBoxLayout(none);
    auto* noneTitle = heading(app::DeviceFlows::noDeviceTitle(), none);
    auto* hint = new QLabel(app::DeviceFlows::noDeviceHint(), none);
    hint->setWordWrap(true);
    noneLayout->addStretch();
    noneLayout->addWidget(noneTitle, 0, Qt::AlignCenter);
    noneLayout->addWidget(hint);
    noneLayout->addStretch();

    auto* list = new QWidget(this);
    auto* listLayout = new QVBoxLayout(list);
    listLayout->setContentsMargins(0, 0, 0, 0);
    auto* pickers = new QHBoxLayout;
    pickers->addWidget(m_devices, 1);
    pickers->addWidget(m_source);
    auto* selectAll = new QPushButton(tr("Select All"), list);
    selectAll->setAutoDefault(false);
    pickers->addWidget(selectAll);
    listLayout->addLayout(pickers);
    listLayout->addWidget(m_items, 1);
    listLayout->addWidget(m_empty);
    m_pages->addWidget(none);
    m_pages->addWidget(list);

    auto* rescan = new QPushButton(tr("Rescan"), this);
    rescan->setAutoDefault(false);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setAutoDefault(false);
    m_import->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(rescan);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(m_import);
    auto* progress = new QHBoxLayout;
    progress->addWidget(m_progress);
    progress->addWidget(m_busy, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(progress);
    layout->addWidget(m_error);
    layout->addWidget(m_notice);
    layout->addLayout(buttons);

    connect(rescan, &QPushButton::clicked, this, [this] { m_controller.scan(); });
    connect(cancel, &QPushButton::clicked, this, &DeviceImportSheet::reject);
    connect(m_import, &QPushButton::clicked, this, [this] { m_controller.importSelected(); });
    connect(selectAll, &QPushButton::clicked, this, [this] { m_controller.selectAll(); });
    connect(m_devices, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < int(m_controller.devices().size()))
            m_controller.selectDevice(m_controller.devices()[std::size_t(index)]);
    });
    connect(m_source, &QComboBox::activated, this, [this](int index) {
        m_controller.setSource(index == 0 ? DeviceImportController::Source::activities
                                          : DeviceImportController::Source::courses);
    });
    connect(m_items, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        m_controller.setSelected(item->data(Qt::UserRole).toString(),
                                 item->checkState() == Qt::Checked);
    });
    connect(&controller, &DeviceImportController::changed, this, &DeviceImportSheet::refresh);
    connect(&controller, &DeviceImportController::finished, this, &QDialog::accept);
    refresh();
}

void DeviceImportSheet::refresh()
{
    const auto& c = m_controller;
    const bool busy = c.isBusy();
    m_pages->setCurrentIndex(c.devices().empty() && !busy ? 0 : 1);

    m_devices->clear();
    for (const auto& device : c.devices())
        m_devices->addItem(app::DeviceFlows::importLabel(device));
    if (c.selectedDevice()) {
        const auto at = std::find(c.devices().begin(), c.devices().end(), *c.selectedDevice());
        m_devices->setCurrentIndex(int(at - c.devices().begin()));
    }
    m_source->setCurrentIndex(c.source() == DeviceImportController::Source::activities ? 0 : 1);
    m_source->setEnabled(!c.courses().empty());

    const QSignalBlocker quiet(m_items);
    m_items->clear();
    for (const auto& entry : c.visibleItems()) {
        QString text = entry.name;
        if (entry.date)
            text += QStringLiteral("   ") + QLocale().toString(*entry.date, QLocale::ShortFormat);
        if (c.isImported(entry.id))
            text += QStringLiteral("   ") + tr("imported");
        auto* item = new QListWidgetItem(text, m_items);
        item->setData(Qt::UserRole, entry.id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(c.selectedIDs().contains(entry.id) ? Qt::Checked : Qt::Unchecked);
    }
    m_progress->setText(c.progressText().value_or(QString()));
    m_busy->setVisible(busy);
    m_error->setText(c.error().value_or(QString()));
    m_error->setVisible(c.error().has_value());
    m_notice->setText(c.notice().value_or(QString()));
    m_notice->setVisible(c.notice().has_value());
    const auto empty = c.emptyText();
    m_empty->setText(empty.value_or(QString()));
    m_empty->setVisible(empty.has_value());
    m_items->setVisible(!empty);
    m_import->setText(c.importTitle());
    m_import->setEnabled(!busy && !c.selectedIDs().isEmpty());
    m_devices->setEnabled(!busy);
}

void DeviceImportSheet::reject()
{
    // An import under way stops after the ride it is on; what was written stays.
    m_controller.cancel();
    QDialog::reject();
}

} // namespace zuvo::ui
