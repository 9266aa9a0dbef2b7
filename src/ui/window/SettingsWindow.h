#pragma once

#include <QWidget>

class QLineEdit;
class QSettings;

namespace zuvo::ui {

// The server settings: the base of the user's own server, the routing and tile overrides and
// the geocoder. Every field writes its preference as it is typed; changes apply at next launch.
class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    explicit SettingsWindow(QSettings& settings, QWidget* parent = nullptr);

    void resetToDefault();

private:
    void load();
    void markRouting();

    QSettings& m_settings;
    QLineEdit* m_base;
    QLineEdit* m_routing;
    QLineEdit* m_tiles;
    QLineEdit* m_search;
};

} // namespace zuvo::ui
