#include "ui/panels/CueListView.h"

#include "app/planner/CueList.h"
#include "ui/panels/CueArrow.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace zuvo::ui {

using app::CueListModel;

namespace {

// A row: the arrow, the street or instruction, the km from the start on the right.
class CueDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        item.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

        const bool selected = option.state & QStyle::State_Selected;
        const QColor text =
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        const QRect row = option.rect.adjusted(4, 2, -6, -2);
        const QRect arrow(row.left(), row.top(), row.height(), row.height());
        const QVariant exit = index.data(CueListModel::exitRole);
        paintCueArrow(*painter, arrow.adjusted(1, 1, -1, -1),
                      model::Cue::Sign(index.data(CueListModel::signRole).toInt()),
                      exit.isValid() ? std::optional(exit.toInt()) : std::nullopt, text);

        const QString km = index.data(CueListModel::kilometresRole).toString();
        const int kmWidth = option.fontMetrics.horizontalAdvance(QStringLiteral("000.0 km"));
        const QRect kmBox(row.right() - kmWidth, row.top(), kmWidth, row.height());
        const QRect label(arrow.right() + 6, row.top(), kmBox.left() - arrow.right() - 12,
                          row.height());
        painter->save();
        painter->setPen(text);
        painter->drawText(kmBox, Qt::AlignRight | Qt::AlignVCenter, km);
        painter->drawText(
            label, Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, label.width()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {200, option.fontMetrics.height() + 16};
    }
};

} // namespace

CueListView::CueListView(CueListModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_list(new QListView(this))
    , m_empty(new QLabel(this))
{
    setObjectName(QStringLiteral("cueListView"));
    m_list->setObjectName(QStringLiteral("cueList"));
    m_list->setModel(&model);
    m_list->setItemDelegate(new CueDelegate(m_list));
    // Every row is as high as the next: long routes scroll without measuring each row.
    m_list->setUniformItemSizes(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setMinimumHeight(180);
    m_empty->setObjectName(QStringLiteral("cueListEmpty"));
    m_empty->setWordWrap(true);
    m_empty->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_empty);

    connect(m_list, &QListView::clicked, this,
            [this](const QModelIndex& index) { m_model.select(index.row()); });
    // Moving through the list with the keyboard shows each cue as well.
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid())
                    m_model.select(index.row());
            });
    connect(&model, &QAbstractItemModel::modelReset, this, &CueListView::refresh);
    refresh();
}

void CueListView::refresh()
{
    const auto why = m_model.emptyText();
    m_empty->setText(why.value_or(QString()));
    m_empty->setVisible(why.has_value());
    m_list->setVisible(!why);
    // The reason takes the room of its line only; the list takes what the panel can give.
    setSizePolicy(QSizePolicy::Preferred, why ? QSizePolicy::Maximum : QSizePolicy::Expanding);
}

} // namespace zuvo::ui
