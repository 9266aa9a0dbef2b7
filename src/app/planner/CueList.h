#pragma once

#include "model/CostingKind.h"
#include "model/Cue.h"
#include "model/Route.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace zuvo::app {

class PlannerViewModel;

// One line of the cue list and the cue sheet.
struct CueRow {
    model::Cue cue;                    // its distance counted from the route's start
    QString instruction;               // the routing server's sentence, else one made from the sign
    QString street;                    // the street's name, else its reference; may be empty
    std::optional<double> toNext = {}; // metres to the next cue; absent on the last

    double km() const { return cue.distance / 1000.0; }
};

// The route's cues as rows, in riding order.
std::vector<CueRow> cueRows(const model::Route& route);

// Why a route shows no cues: nothing routed yet (`routed` false), a motorcycle route (the
// routing server gives none for it), or a route routed or saved without them; absent when it
// has cues.
std::optional<QString> cueListProblem(const model::Route& route, model::CostingKind kind,
                                      bool routed);

// What a cue asks, in the window's language, for a cue the server gave no sentence for:
// "Turn left onto Bahnweg", "At the roundabout, take exit 2", "Via 3".
QString cueInstruction(const model::Cue& cue);

// The rows as comma-separated values with a header line: km, sign, instruction, street and
// km to the next cue; numbers with a decimal point whatever the locale.
QByteArray cueSheetCsv(const std::vector<CueRow>& rows);

// A row as one tab-separated line for the command line: km, sign name, street, server text.
QString cueLine(const CueRow& row);

// The cue list beside the map: follows the planned route through every change, undo and
// redo; selecting a cue frames it on the map and marks the spot.
class CueListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        signRole = Qt::UserRole + 1, // model::Cue::Sign as int
        exitRole,                    // the roundabout's exit number, or nothing
        kilometresRole,              // "12.3 km"
    };

    explicit CueListModel(PlannerViewModel& planner, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const std::vector<CueRow>& rows() const { return m_rows; }
    // Why the list is empty, or nothing when it is not.
    std::optional<QString> emptyText() const;
    void select(int row);

private:
    void refresh();
    void unmark();

    PlannerViewModel& m_planner;
    std::vector<CueRow> m_rows;
    std::optional<model::Coordinate> m_marked;
};

} // namespace zuvo::app
