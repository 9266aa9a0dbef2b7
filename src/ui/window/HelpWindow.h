#pragma once

#include <QWidget>

class QTextBrowser;

namespace zuvo::ui {

// "Anleitung": the user guide, in German.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the guide at a section's anchor, such as "help-trackdetails".
    void showSection(const QString& anchor);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

} // namespace zuvo::ui
