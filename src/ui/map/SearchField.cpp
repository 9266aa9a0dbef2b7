#include "ui/map/SearchField.h"

#include "app/places/PlaceSearchController.h"
#include "app/planner/PlannerViewModel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace zuvo::ui {

SearchField::SearchField(app::PlaceSearchController& search, app::PlannerViewModel& planner,
                         QWidget* parent)
    : QLineEdit(parent)
    , m_search(search)
    , m_busy(new QLabel(QStringLiteral("…"), this))
{
    setObjectName(QStringLiteral("searchField"));
    setPlaceholderText(tr("Search address"));
    setClearButtonEnabled(true);
    setMinimumWidth(180);
    setMaximumWidth(240);
    m_busy->setToolTip(tr("Searching"));
    m_busy->hide();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 8, 0);
    layout->addStretch();
    layout->addWidget(m_busy);

    connect(this, &QLineEdit::textEdited, &search, &app::PlaceSearchController::setQuery);
    // The clear button empties the text without an edit signal.
    connect(this, &QLineEdit::textChanged, this, [&search, &planner](const QString& text) {
        if (text.isEmpty() && !planner.searchQuery().isEmpty())
            search.setQuery(QString());
    });
    connect(&planner, &app::PlannerViewModel::searchChanged, this, [this, &planner] {
        if (text() != planner.searchQuery())
            setText(planner.searchQuery());
    });
    connect(&search, &app::PlaceSearchController::isSearchingChanged, this, [this] {
        m_busy->setVisible(m_search.isSearching());
        setClearButtonEnabled(!m_search.isSearching());
    });
}

void SearchField::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        m_search.selectFirst();
        event->accept();
        return;
    case Qt::Key_Escape:
        m_search.clear();
        event->accept();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

SearchResultsList::SearchResultsList(app::PlaceSearchController& search,
                                     app::PlannerViewModel& planner, QWidget* parent)
    : QFrame(parent)
    , m_list(new QListWidget(this))
    , m_message(new QLabel(this))
{
    setObjectName(QStringLiteral("searchResults"));
    setStyleSheet(QStringLiteral("#searchResults { background: #26282c; border-radius: 6px; }"));
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_message->setObjectName(QStringLiteral("searchMessage"));
    m_message->setWordWrap(true);
    m_message->setContentsMargins(6, 4, 6, 4);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_message);
    layout->addWidget(m_list);
    const auto update = [this, &planner, &search] {
        m_list->clear();
        for (const auto& place : planner.searchResults()) {
            auto* item = new QListWidgetItem(place.label, m_list);
            item->setToolTip(place.label);
        }
        const bool results = !planner.searchResults().empty();
        m_message->setText(search.message().value_or(QString()));
        m_message->setVisible(!results && search.message());
        m_list->setVisible(results);
        setVisible(results || search.message());
        updateGeometry();
        adjustSize();
    };
    connect(&planner, &app::PlannerViewModel::searchChanged, this, update);
    connect(&search, &app::PlaceSearchController::messageChanged, this, update);
    connect(m_list, &QListWidget::itemClicked, this, [this, &planner](QListWidgetItem* item) {
        const int row = m_list->row(item);
        if (row >= 0 && row < int(planner.searchResults().size())) {
            const app::PhotonPlace place = planner.searchResults()[std::size_t(row)];
            planner.selectSearchResult(place);
        }
    });
    update();
}

QSize SearchResultsList::sizeHint() const
{
    constexpr int width = 360;
    if (!m_list->isVisibleTo(this))
        return {width, m_message->heightForWidth(width - 8) + 8};
    // Whole rows, up to six; more scroll.
    const int row = std::max(m_list->sizeHintForRow(0), fontMetrics().height() + 6);
    return {width, std::min(m_list->count(), 6) * row + 2 * m_list->frameWidth() + 8};
}

} // namespace zuvo::ui
