#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QTimer;
class QWidget;

namespace zuvo::app {
class PlanRecovery;
class PlannerViewModel;
class ToastCenter;
} // namespace zuvo::app

namespace zuvo::ui {

// The File menu's commands: their dialogs, the question before unsaved changes are lost, and
// the planner operation behind each.
class DocumentCommands : public QObject {
    Q_OBJECT

public:
    // `ask` puts the unsaved-changes question; tests answer it themselves.
    enum class Answer { save, discard, cancel };
    using Ask = std::function<Answer(const QString& question)>;
    // What a file is chosen for: the dialog offers the files that fit.
    enum class Purpose { open, importRide, importPOIs, save, exportCourse, exportCueSheet };
    // Chooses a file, for saving under `proposedName`; empty on cancel.
    using ChooseFile =
        std::function<QString(Purpose purpose, const QString& folder, const QString& proposedName)>;

    DocumentCommands(app::PlannerViewModel& planner, app::ToastCenter& toasts, QString routesFolder,
                     QWidget* window);

    void setAsk(Ask ask) { m_ask = std::move(ask); }
    // Puts the question whether to take back a plan left unsaved; true restores it.
    using AskRestore = std::function<bool(const QString& question)>;
    void setAskRestore(AskRestore ask) { m_askRestore = std::move(ask); }
    void setChooseFile(ChooseFile choose) { m_choose = std::move(choose); }

    // True when nothing unsaved is lost: saved, thrown away on purpose, or nothing to lose.
    bool settleUnsavedChanges();

    void newRoute();
    void open();
    bool save();
    bool saveAs();
    void importGPX();
    void importPOIs();
    // The plan as a TCX course for older devices and other services.
    void exportCourse();
    // The plan's cue sheet as a PDF to print, or as comma-separated values (a .csv name).
    void exportCueSheet();
    // Shows the tracks of a GPX, FIT or Bryton track file, or says why it cannot.
    void importTrack(const QString& path);
    // Restores or discards the plan an earlier planner left, as the rider answers.
    void offerRecovery(app::PlanRecovery& recovery);
    // Makes the newest shown track a new plan, once unsaved changes are settled.
    void convertTrack();
    // A file given on the command line, dropped on the window or handed from a second start.
    void openPath(const QString& path);
    // Files handed over while the window may be asking something: they open in order once no
    // question or dialog is open, never from inside one.
    void openLater(const QStringList& paths);
    // A question or file dialog of these commands is open.
    bool isAsking() const { return m_asking > 0; }

private:
    void openQueued();
    QString choose(Purpose purpose, const QString& proposedName = {});
    // Counts the questions and dialogs open for as long as it lives.
    struct Asking {
        explicit Asking(DocumentCommands& commands);
        ~Asking();
        DocumentCommands& commands;
    };

    app::PlannerViewModel& m_planner;
    app::ToastCenter& m_toasts;
    QString m_routesFolder;
    QWidget* m_window;
    Ask m_ask;
    AskRestore m_askRestore;
    ChooseFile m_choose;
    int m_asking = 0;
    QStringList m_queued;
    QTimer* m_retry;
};

} // namespace zuvo::ui
