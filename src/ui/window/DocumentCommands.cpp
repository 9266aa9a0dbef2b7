#include "ui/window/DocumentCommands.h"

#include "app/planner/PlanRecovery.h"
#include "app/planner/PlannerTexts.h"
#include "app/planner/PlannerViewModel.h"
#include "app/planner/ToastCenter.h"
#include "ui/sheets/POISymbolSheet.h"
#include "ui/window/CueSheetPdf.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace zuvo::ui {

namespace {

struct FileFilters {
    Q_DECLARE_TR_FUNCTIONS(FileFilters)
};

QString gpxFilter()
{
    return FileFilters::tr("GPX files (*.gpx *.GPX)");
}
// Devices write their rides in capitals as often as not.
QString rideFilter()
{
    return FileFilters::tr("Rides and tracks (*.gpx *.GPX *.fit *.FIT *.track *.TRACK)");
}
QString tcxFilter()
{
    return FileFilters::tr("TCX courses (*.tcx *.TCX)");
}
QString pdfFilter()
{
    return FileFilters::tr("PDF cue sheets (*.pdf)");
}
QString csvFilter()
{
    return FileFilters::tr("CSV cue sheets (*.csv)");
}

// `path` with `suffix` when the name has none.
QString withSuffix(QString path, const QString& suffix)
{
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    return path;
}

} // namespace

DocumentCommands::Asking::Asking(DocumentCommands& commands)
    : commands(commands)
{
    ++commands.m_asking;
}

DocumentCommands::Asking::~Asking()
{
    // What was handed over meanwhile opens after the question, from the event loop.
    if (--commands.m_asking == 0 && !commands.m_queued.isEmpty())
        commands.m_retry->start(0);
}

DocumentCommands::DocumentCommands(app::PlannerViewModel& planner, app::ToastCenter& toasts,
                                   QString routesFolder, QWidget* window)
    : QObject(window)
    , m_planner(planner)
    , m_toasts(toasts)
    , m_routesFolder(std::move(routesFolder))
    , m_window(window)
    , m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(250);
    connect(m_retry, &QTimer::timeout, this, &DocumentCommands::openQueued);
    m_ask = [this](const QString& question) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Tramu"), question,
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_window);
        box.setInformativeText(tr("Your changes are lost if you don't save them."));
        box.button(QMessageBox::Discard)->setText(tr("Don't Save"));
        box.setDefaultButton(QMessageBox::Save);
        switch (box.exec()) {
        case QMessageBox::Save:
            return Answer::save;
        case QMessageBox::Discard:
            return Answer::discard;
        default:
            return Answer::cancel;
        }
    };
    m_askRestore = [this](const QString& question) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Tramu"), question,
                        QMessageBox::NoButton, m_window);
        box.setInformativeText(tr("Tramu ended before these changes were saved."));
        auto* restore = box.addButton(tr("Restore"), QMessageBox::AcceptRole);
        box.addButton(tr("Discard"), QMessageBox::DestructiveRole);
        box.setDefaultButton(restore);
        box.exec();
        return box.clickedButton() == restore;
    };
    m_choose = [this](Purpose purpose, const QString& folder, const QString& proposedName) {
        const QDir in(folder);
        switch (purpose) {
        case Purpose::save:
            return withSuffix(QFileDialog::getSaveFileName(m_window, tr("Save Route"),
                                                           in.filePath(proposedName + ".gpx"),
                                                           gpxFilter()),
                              QStringLiteral("gpx"));
        case Purpose::exportCourse:
            return withSuffix(QFileDialog::getSaveFileName(m_window, tr("Export TCX Course"),
                                                           in.filePath(proposedName + ".tcx"),
                                                           tcxFilter()),
                              QStringLiteral("tcx"));
        case Purpose::exportCueSheet: {
            QString filter;
            const QString path = QFileDialog::getSaveFileName(
                m_window, tr("Export Cue Sheet"), in.filePath(proposedName + ".pdf"),
                pdfFilter() + QStringLiteral(";;") + csvFilter(), &filter);
            return withSuffix(path, filter == csvFilter() ? QStringLiteral("csv")
                                                          : QStringLiteral("pdf"));
        }
        default:
            break;
        }
        return QFileDialog::getOpenFileName(m_window, tr("Open"), folder,
                                            purpose == Purpose::importRide ? rideFilter()
                                                                           : gpxFilter());
    };
}

bool DocumentCommands::settleUnsavedChanges()
{
    // A dirty plan without two anchors has nothing that could be saved.
    if (!m_planner.isDirty() || !m_planner.makeDocumentData())
        return true;
    Answer answer;
    {
        const Asking asking(*this);
        answer = m_ask(app::PlannerTexts::unsavedChangesQuestion(m_planner.documentName()));
    }
    switch (answer) {
    case Answer::save:
        return save();
    case Answer::discard:
        return true;
    case Answer::cancel:
        return false;
    }
    return false;
}

void DocumentCommands::newRoute()
{
    if (settleUnsavedChanges())
        m_planner.newDocument();
}

void DocumentCommands::open()
{
    if (!settleUnsavedChanges())
        return;
    const QString path = choose(Purpose::open);
    if (!path.isEmpty())
        m_planner.openDocument(path);
}

bool DocumentCommands::save()
{
    if (const auto& url = m_planner.documentURL())
        return m_planner.saveDocument(url->toLocalFile());
    return saveAs();
}

bool DocumentCommands::saveAs()
{
    if (!m_planner.makeDocumentData())
        return false;
    const QString path = choose(Purpose::save, m_planner.documentName());
    return !path.isEmpty() && m_planner.saveDocument(path);
}

void DocumentCommands::importGPX()
{
    const QString path = choose(Purpose::importRide);
    if (!path.isEmpty())
        importTrack(path);
}

void DocumentCommands::exportCourse()
{
    const QString path = choose(Purpose::exportCourse, m_planner.documentName());
    if (!path.isEmpty())
        m_planner.exportTCXCourse(path);
}

void DocumentCommands::exportCueSheet()
{
    if (const auto problem = m_planner.cueSheetProblem()) {
        m_planner.setErrorMessage(*problem);
        return;
    }
    const QString path = choose(Purpose::exportCueSheet, m_planner.documentName());
    if (path.isEmpty())
        return;
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
        m_planner.exportCueSheetCsv(path);
        return;
    }
    const CueSheet sheet{.name = m_planner.documentName(),
                         .summary = app::PanelRules::summary(
                             m_planner.route(), m_planner.gradeProfile(), m_planner.costingKind()),
                         .profile = m_planner.gradeProfile(),
                         .rows = app::cueRows(m_planner.route())};
    m_planner.writeExport(path, sheet.pdf());
}

void DocumentCommands::importTrack(const QString& path)
{
    m_planner.showRideFile(path);
}

void DocumentCommands::importPOIs()
{
    const QString path = choose(Purpose::importPOIs);
    if (path.isEmpty())
        return;
    auto waypoints = m_planner.parseCustomPOIs(path);
    if (!waypoints)
        return;
    POISymbolSheet sheet(waypoints->size(), m_planner.userPOIs().glyph(), m_window);
    int accepted;
    {
        const Asking asking(*this);
        accepted = sheet.exec();
    }
    if (accepted != QDialog::Accepted)
        return;
    const std::size_t count = waypoints->size();
    m_planner.commitCustomPOIs(std::move(*waypoints), sheet.glyph());
    m_toasts.show(app::PlannerTexts::poiImportToast(count));
}

void DocumentCommands::offerRecovery(app::PlanRecovery& recovery)
{
    const auto& left = recovery.left();
    if (!left)
        return;
    bool restore = false;
    {
        const Asking asking(*this);
        restore = m_askRestore(app::PlannerTexts::restoreQuestion(left->name, left->savedAt,
                                                                  QDateTime::currentDateTime()));
    }
    if (restore)
        recovery.restore();
    else
        recovery.discard();
}

void DocumentCommands::convertTrack()
{
    if (settleUnsavedChanges())
        m_planner.convertImportToRoute();
}

void DocumentCommands::openPath(const QString& path)
{
    // A route document replaces the plan, so it asks first; a track only joins the map.
    m_planner.openFile(path, [this] { return settleUnsavedChanges(); });
}

void DocumentCommands::openLater(const QStringList& paths)
{
    m_queued += paths;
    m_retry->start(0);
}

void DocumentCommands::openQueued()
{
    // Another window's question (a sheet, a message) is open: try again once it is answered.
    if (isAsking() || QApplication::activeModalWidget()) {
        m_retry->start();
        return;
    }
    while (!m_queued.isEmpty() && !isAsking())
        openPath(m_queued.takeFirst());
}

QString DocumentCommands::choose(Purpose purpose, const QString& proposedName)
{
    const Asking asking(*this);
    return m_choose(purpose, m_routesFolder, proposedName);
}

} // namespace zuvo::ui
