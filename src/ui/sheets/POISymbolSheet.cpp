#include "ui/sheets/POISymbolSheet.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zuvo::ui {

POISymbolSheet::POISymbolSheet(std::size_t count, const QString& current, QWidget* parent)
    : QDialog(parent)
    , m_glyph(new QLineEdit(current, this))
{
    setWindowTitle(tr("Import POIs"));
    auto* question = new QLabel(
        count == 1 ? tr("1 point found. Which symbol shall the map draw it with?")
                   : tr("%1 points found. Which symbol shall the map draw them with?").arg(count),
        this);
    question->setWordWrap(true);
    auto* symbols = new QGridLayout;
    const QStringList choices{"🍺", "🍷", "☕", "🥨", "🍦", "⛲", "🏕", "🏨",
                              "🚻", "📷", "⛪", "🏰",    "⭐", "❤", "🔧",    "🅿"};
    for (int i = 0; i < choices.size(); ++i) {
        auto* button = new QToolButton(this);
        button->setText(choices[i]);
        button->setMinimumSize(36, 32);
        connect(button, &QToolButton::clicked, m_glyph,
                [this, glyph = choices[i]] { m_glyph->setText(glyph); });
        symbols->addWidget(button, i / 8, i % 8);
    }
    m_glyph->setMaxLength(8);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_glyph, &QLineEdit::textChanged, this, [buttons](const QString& text) {
        buttons->buttons().first()->setEnabled(!text.trimmed().isEmpty());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addLayout(symbols);
    auto* own = new QLabel(tr("Symbol"), this);
    layout->addWidget(own);
    layout->addWidget(m_glyph);
    layout->addWidget(buttons);
}

QString POISymbolSheet::glyph() const
{
    return m_glyph->text().trimmed();
}

} // namespace zuvo::ui
