#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;

namespace zuvo::app {
class RoutingServerStatus;
}

namespace zuvo::ui {

// The server settings: the base of the user's own server, the routing and tile overrides and
// the geocoder. Edits stay in the window until Apply or OK, which refuse while a value is not a
// server address and say which; applied values are in use at once (see applied()).
class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    // `server` (optional) tells what the routing server in use covers.
    explicit SettingsWindow(QSettings& settings, app::RoutingServerStatus* server = nullptr,
                            QWidget* parent = nullptr);

    // Fills the fields with the defaults; Apply then uses them.
    void resetToDefault();
    // Writes the fields to the preferences when all are valid; false (and nothing written)
    // otherwise.
    bool apply();
    // Why the fields cannot be applied, one line per field; empty when they can.
    QString problems() const;

signals:
    // The preferences now hold new server addresses.
    void applied();

private:
    void load();
    void validate();

    QSettings& m_settings;
    QLineEdit* m_base;
    QLineEdit* m_routing;
    QLineEdit* m_tiles;
    QLineEdit* m_search;
    QLabel* m_problems;
    QLabel* m_coverage;
    QPushButton* m_apply;
    QPushButton* m_ok;
};

} // namespace zuvo::ui
