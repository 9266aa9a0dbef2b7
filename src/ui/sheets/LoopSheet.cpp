#include "ui/sheets/LoopSheet.h"

#include "app/planner/LoopSuggestions.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zuvo::ui {

using app::LoopSuggestions;

LoopSheet::LoopSheet(LoopSuggestions& loops, std::function<bool()> mayReplacePlan, QWidget* parent)
    : QDialog(parent)
    , m_loops(loops)
    , m_mayReplacePlan(std::move(mayReplacePlan))
    , m_km(new QDoubleSpinBox(this))
    , m_direction(new QComboBox(this))
    , m_profile(new QLabel(this))
    , m_suggest(new QPushButton(tr("Suggest"), this))
    , m_more(new QPushButton(tr("More"), this))
    , m_progress(new QProgressBar(this))
{
    setObjectName(QStringLiteral("loopSheet"));
    setWindowTitle(tr("Loop from here"));
    m_km->setObjectName(QStringLiteral("loopKm"));
    m_km->setDecimals(0);
    m_km->setSuffix(QStringLiteral(" km"));
    m_direction->setObjectName(QStringLiteral("loopDirection"));
    m_direction->addItem(LoopSuggestions::directionName(std::nullopt), -1);
    for (int direction = 0; direction < 8; ++direction)
        m_direction->addItem(LoopSuggestions::directionName(direction), direction);
    m_suggest->setObjectName(QStringLiteral("loopSuggest"));
    m_suggest->setDefault(true);
    m_more->setObjectName(QStringLiteral("loopMore"));
    m_more->setToolTip(tr("Three other loops of the same length"));
    // Busy without a known end: the server answers all at once.
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(6);

    auto* form = new QFormLayout;
    form->addRow(tr("Distance"), m_km);
    form->addRow(tr("Direction"), m_direction);
    form->addRow(tr("Profile"), m_profile);
    auto* asks = new QHBoxLayout;
    asks->addStretch();
    asks->addWidget(m_more);
    asks->addWidget(m_suggest);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(asks);
    layout->addWidget(m_progress);
    for (int slot = 0; slot < LoopSuggestions::count; ++slot) {
        Row& row = m_rows[std::size_t(slot)];
        row.box = new QWidget(this);
        row.box->setObjectName(QStringLiteral("loopRow%1").arg(slot));
        row.box->installEventFilter(this);
        auto* swatch = new QLabel(row.box);
        swatch->setFixedSize(14, 14);
        swatch->setStyleSheet(QStringLiteral("background: %1; border-radius: 7px;")
                                  .arg(LoopSuggestions::color(slot)));
        row.figures = new QLabel(row.box);
        row.figures->setWordWrap(true);
        row.off = new QLabel(row.box);
        row.off->setStyleSheet(QStringLiteral("color: #E0A030;"));
        row.use = new QPushButton(tr("Use this loop"), row.box);
        row.use->setObjectName(QStringLiteral("loopUse%1").arg(slot));
        auto* line = new QHBoxLayout(row.box);
        line->setContentsMargins(4, 4, 4, 4);
        line->addWidget(swatch);
        auto* texts = new QVBoxLayout;
        texts->addWidget(row.figures);
        texts->addWidget(row.off);
        line->addLayout(texts, 1);
        line->addWidget(row.use);
        layout->addWidget(row.box);
        connect(row.use, &QPushButton::clicked, this, [this, slot] { use(slot); });
    }
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(close);
    setMinimumWidth(440);

    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_km, &QDoubleSpinBox::valueChanged, &loops, &LoopSuggestions::setKm);
    connect(m_direction, &QComboBox::activated, this, [this] {
        const int direction = m_direction->currentData().toInt();
        m_loops.setDirection(direction < 0 ? std::nullopt : std::optional(direction));
    });
    connect(m_suggest, &QPushButton::clicked, &loops, &LoopSuggestions::suggest);
    connect(m_more, &QPushButton::clicked, &loops, &LoopSuggestions::suggest);
    connect(&loops, &LoopSuggestions::changed, this, &LoopSheet::refresh);
    refresh();
}

void LoopSheet::refresh()
{
    const auto& suggestions = m_loops.suggestions();
    bool any = false;
    for (int slot = 0; slot < LoopSuggestions::count; ++slot) {
        const auto& shown = suggestions[std::size_t(slot)];
        const Row& row = m_rows[std::size_t(slot)];
        row.box->setVisible(shown.pending || shown.loop || shown.error);
        row.figures->setText(m_loops.slotText(slot));
        row.off->setText(m_loops.offText(slot));
        row.off->setVisible(!row.off->text().isEmpty());
        row.use->setEnabled(shown.loop.has_value());
        row.box->setAutoFillBackground(slot == m_loops.highlighted());
        row.box->setBackgroundRole(QPalette::AlternateBase);
        any = any || shown.loop || shown.error;
    }
    m_progress->setVisible(m_loops.isBusy());
    m_more->setEnabled(any && !m_loops.isBusy());
    m_profile->setText(m_loops.profileName());
    if (m_km->maximum() != m_loops.kmLimit() || m_km->value() != m_loops.km()) {
        const QSignalBlocker quiet(m_km);
        m_km->setRange(LoopSuggestions::minKm, m_loops.kmLimit());
        m_km->setValue(m_loops.km());
    }
    // A window keeps its size when rows appear; without this the form is squeezed to make room.
    adjustSize();
}

void LoopSheet::use(int slot)
{
    if (!m_mayReplacePlan())
        return;
    if (m_loops.use(slot))
        accept();
}

void LoopSheet::reject()
{
    // Escape first stops the server's work, then closes.
    if (m_loops.isBusy()) {
        m_loops.cancel();
        return;
    }
    QDialog::reject();
}

bool LoopSheet::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        for (int slot = 0; slot < LoopSuggestions::count; ++slot) {
            if (watched == m_rows[std::size_t(slot)].box)
                m_loops.setHighlighted(event->type() == QEvent::Enter ? slot : -1);
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zuvo::ui
