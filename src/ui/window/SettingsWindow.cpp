#include "ui/window/SettingsWindow.h"

#include "app/settings/ServerConfig.h"
#include "ui/Heading.h"
#include "ui/window/WindowKeys.h"

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

SettingsWindow::SettingsWindow(QSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_settings(settings)
    , m_base(new QLineEdit(this))
    , m_routing(new QLineEdit(this))
    , m_tiles(new QLineEdit(this))
    , m_search(new QLineEdit(this))
{
    setWindowTitle(tr("Settings"));
    setMinimumSize(500, 400);
    m_base->setObjectName(QStringLiteral("serverBase"));
    m_routing->setObjectName(QStringLiteral("serverRouting"));
    m_tiles->setObjectName(QStringLiteral("serverTiles"));
    m_search->setObjectName(QStringLiteral("serverSearch"));

    auto* form = new QFormLayout;
    form->addRow(tr("Server base"), m_base);
    form->addRow(QString(), note(QStringLiteral("Schema + Host, z. B. http://192.168.1.20 — Ports "
                                                "(8989 Routing / 8080 Karten) werden automatisch "
                                                "ergänzt."),
                                 this));
    form->addRow(heading(tr("Overrides"), this));
    form->addRow(tr("Routing (optional)"), m_routing);
    form->addRow(tr("Tiles (optional)"), m_tiles);
    form->addRow(tr("Search base"), m_search);

    auto* reset = new QPushButton(tr("Reset to default"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note(tr("Routes come from a GraphHopper server: by default on this computer "
                              "at http://127.0.0.1:8989 (the README says how to start one). To use "
                              "a server elsewhere, set its base above or its full address under "
                              "Routing."),
                           this));
    layout->addWidget(note(tr("Changes apply at next launch."), this));
    layout->addStretch();
    layout->addWidget(reset, 0, Qt::AlignRight);

    load();
    const auto bind = [this](QLineEdit* field, const char* key) {
        connect(field, &QLineEdit::textEdited, this, [this, key](const QString& text) {
            m_settings.setValue(QLatin1String(key), text);
            markRouting();
        });
    };
    bind(m_base, "server.base");
    bind(m_routing, "server.routing");
    bind(m_tiles, "server.tiles");
    bind(m_search, "server.search");
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
    markRouting();
}

void SettingsWindow::markRouting()
{
    // A routing override needs a scheme and a host; anything else is ignored, and says so here.
    const QString text = m_routing->text().trimmed();
    const bool invalid = !text.isEmpty() && !app::ServerConfig::serverAddress(text);
    m_routing->setStyleSheet(invalid ? QStringLiteral("border: 1px solid #d9534f;") : QString());
    m_routing->setToolTip(invalid ? tr("Not a server address: write it with scheme and host, "
                                       "like http://gh.local:8989. It is ignored until then.")
                                  : QString());
}

void SettingsWindow::resetToDefault()
{
    m_settings.setValue(QStringLiteral("server.base"), app::ServerConfig::defaultBase());
    m_settings.setValue(QStringLiteral("server.routing"), QString());
    m_settings.setValue(QStringLiteral("server.tiles"), QString());
    m_settings.setValue(QStringLiteral("server.search"),
                        app::ServerConfig::defaultSearchBase().toString());
    load();
}

} // namespace zuvo::ui
