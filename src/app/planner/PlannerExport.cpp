// The plan written for other programs and for paper: TCX courses and cue sheets.
#include "app/devices/DeviceSendController.h"
#include "app/planner/CueList.h"
#include "app/planner/PlannerViewModel.h"
#include "app/planner/ToastCenter.h"
#include "formats/TCXCourseWriter.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>

namespace zuvo::app {

std::optional<QString> PlannerViewModel::cueSheetProblem() const
{
    return cueListProblem(m_route, m_costingKind, m_routeCoordinates.size() >= 2);
}

bool PlannerViewModel::writeExport(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        setErrorMessage(tr("Export failed: %1").arg(file.errorString()));
        return false;
    }
    if (m_toasts)
        m_toasts->show(tr("Exported '%1'").arg(QFileInfo(path).fileName()));
    return true;
}

bool PlannerViewModel::exportTCXCourse(const QString& path)
{
    if (const auto problem = DeviceSendController::courseProblem(m_route)) {
        setErrorMessage(*problem);
        return false;
    }
    const formats::TCXCourseWriter writer{.created = QDateTime::currentDateTimeUtc()};
    return writeExport(path, writer.write(m_route, m_costingKind, m_documentName));
}

bool PlannerViewModel::exportCueSheetCsv(const QString& path)
{
    if (const auto problem = cueSheetProblem()) {
        setErrorMessage(*problem);
        return false;
    }
    return writeExport(path, cueSheetCsv(cueRows(m_route)));
}

} // namespace zuvo::app
