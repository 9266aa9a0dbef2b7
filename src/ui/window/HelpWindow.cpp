#include "ui/window/HelpWindow.h"

#include "ui/window/WindowKeys.h"

#include <QFile>
#include <QLocale>
#include <QTextBrowser>
#include <QVBoxLayout>

// The guide is compiled into the static library, whose resources a program must load itself.
static void loadGuideResource()
{
    Q_INIT_RESOURCE(help);
}

namespace zuvo::ui {

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setWindowTitle(tr("Guide"));
    resize(700, 800);
    m_browser->setOpenExternalLinks(true);
    loadGuideResource();
    // The guide in the window's language.
    QFile guide(QLocale().language() == QLocale::German ? QStringLiteral(":/help/Anleitung.html")
                                                        : QStringLiteral(":/help/Guide.html"));
    if (guide.open(QIODevice::ReadOnly))
        m_browser->setHtml(QString::fromUtf8(guide.readAll()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    closeWithWindowKeys(*this);
}

void HelpWindow::showSection(const QString& anchor)
{
    m_browser->scrollToAnchor(anchor);
}

} // namespace zuvo::ui
