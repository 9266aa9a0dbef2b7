#include "ui/window/SettingsWindow.h"

#include "app/settings/RoutingServerStatus.h"
#include "app/settings/ServerConfig.h"
#include "ui/Heading.h"
#include "ui/window/WindowKeys.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace zuvo::ui {

namespace {

QLabel* note(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    label->setFont(small);
    label->setStyleSheet(QStringLiteral("color: #a8a8a8;"));
    return label;
}

} // namespace

SettingsWindow::SettingsWindow(QSettings& settings, app::RoutingServerStatus* server,
                               QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_settings(settings)
    , m_base(new QLineEdit(this))
    , m_routing(new QLineEdit(this))
    , m_tiles(new QLineEdit(this))
    , m_search(new QLineEdit(this))
    , m_problems(new QLabel(this))
    , m_coverage(new QLabel(this))
{
    setWindowTitle(tr("Settings"));
    setMinimumSize(520, 420);
    m_base->setObjectName(QStringLiteral("serverBase"));
    m_routing->setObjectName(QStringLiteral("serverRouting"));
    m_tiles->setObjectName(QStringLiteral("serverTiles"));
    m_search->setObjectName(QStringLiteral("serverSearch"));
    m_problems->setObjectName(QStringLiteral("settingsProblems"));
    m_problems->setWordWrap(true);
    m_problems->setStyleSheet(QStringLiteral("color: #f08a84;"));

    auto* form = new QFormLayout;
    form->addRow(tr("Server base"), m_base);
    form->addRow(QString(), note(tr("Scheme and host, e.g. http://192.168.1.20: routing (port "
                                    "8989) and map tiles (port 8080) follow from it."),
                                 this));
    form->addRow(heading(tr("Overrides"), this));
    form->addRow(tr("Routing (optional)"), m_routing);
    form->addRow(tr("Tiles (optional)"), m_tiles);
    form->addRow(tr("Search base"), m_search);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_apply = buttons->addButton(QDialogButtonBox::Apply);
    buttons->addButton(QDialogButtonBox::Cancel);
    auto* reset = buttons->addButton(tr("Reset to default"), QDialogButtonBox::ResetRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problems);
    m_coverage->setObjectName(QStringLiteral("serverCoverage"));
    m_coverage->setWordWrap(true);
    m_coverage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (server) {
        layout->addWidget(heading(tr("Routing server"), this));
        layout->addWidget(m_coverage);
        const auto show = [this, server] {
            QStringList lines{server->coverage()};
            lines += server->notices();
            m_coverage->setText(lines.join(QLatin1Char('\n')));
        };
        connect(server, &app::RoutingServerStatus::changed, this, show);
        show();
    } else {
        m_coverage->hide();
    }
    layout->addWidget(note(tr("Routes come from a GraphHopper server: by default on this computer "
                              "at http://127.0.0.1:8989 (the README says how to start one). To use "
                              "a server elsewhere, set its base above or its full address under "
                              "Routing. Applied addresses are used for the next request; the map "
                              "loads its tiles again from a new tile address."),
                           this));
    layout->addStretch();
    layout->addWidget(buttons);

    load();
    for (QLineEdit* field : {m_base, m_routing, m_tiles, m_search})
        connect(field, &QLineEdit::textChanged, this, &SettingsWindow::validate);
    connect(m_apply, &QPushButton::clicked, this, &SettingsWindow::apply);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (apply())
            close();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    connect(reset, &QPushButton::clicked, this, &SettingsWindow::resetToDefault);
    closeWithWindowKeys(*this);
}

void SettingsWindow::load()
{
    m_base->setText(
        m_settings.value(QStringLiteral("server.base"), app::ServerConfig::defaultBase())
            .toString());
    m_routing->setText(m_settings.value(QStringLiteral("server.routing")).toString());
    m_tiles->setText(m_settings.value(QStringLiteral("server.tiles")).toString());
    m_search->setText(m_settings
                          .value(QStringLiteral("server.search"),
                                 app::ServerConfig::defaultSearchBase().toString())
                          .toString());
    validate();
}

QString SettingsWindow::problems() const
{
    QStringList lines;
    const auto check = [&lines](QLineEdit* field, const QString& name, bool optional) {
        const QString text = field->text().trimmed();
        const bool bad = (!optional || !text.isEmpty()) && !app::ServerConfig::serverAddress(text);
        if (bad)
            lines.append(tr("%1: write a server address with scheme and host, like "
                            "http://gh.local:8989.")
                             .arg(name));
        return bad;
    };
    const bool base = check(m_base, tr("Server base"), false);
    const bool routing = check(m_routing, tr("Routing"), true);
    const bool tiles = check(m_tiles, tr("Tiles"), true);
    const bool search = check(m_search, tr("Search base"), false);
    const auto mark = [](QLineEdit* field, bool bad) {
        field->setStyleSheet(bad ? QStringLiteral("border: 1px solid #d9534f;") : QString());
    };
    mark(m_base, base);
    mark(m_routing, routing);
    mark(m_tiles, tiles);
    mark(m_search, search);
    return lines.join(QLatin1Char('\n'));
}

void SettingsWindow::validate()
{
    const QString text = problems();
    m_problems->setText(text);
    m_problems->setVisible(!text.isEmpty());
    m_apply->setEnabled(text.isEmpty());
    m_ok->setEnabled(text.isEmpty());
}

bool SettingsWindow::apply()
{
    if (!problems().isEmpty())
        return false;
    m_settings.setValue(QStringLiteral("server.base"), m_base->text().trimmed());
    m_settings.setValue(QStringLiteral("server.routing"), m_routing->text().trimmed());
    m_settings.setValue(QStringLiteral("server.tiles"), m_tiles->text().trimmed());
    m_settings.setValue(QStringLiteral("server.search"), m_search->text().trimmed());
    emit applied();
    return true;
}

void SettingsWindow::resetToDefault()
{
    m_base->setText(app::ServerConfig::defaultBase());
    m_routing->clear();
    m_tiles->clear();
    m_search->setText(app::ServerConfig::defaultSearchBase().toString());
}

} // namespace zuvo::ui
