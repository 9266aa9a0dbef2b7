#include "ui/window/HelpWindow.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace zuvo::ui {

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setWindowTitle(QStringLiteral("Anleitung"));
    resize(700, 800);
    m_browser->setOpenExternalLinks(true);
    QFile guide(QStringLiteral(":/help/Anleitung.html"));
    if (guide.open(QIODevice::ReadOnly))
        m_browser->setHtml(QString::fromUtf8(guide.readAll()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
}

void HelpWindow::showSection(const QString& anchor)
{
    m_browser->scrollToAnchor(anchor);
}

} // namespace zuvo::ui
