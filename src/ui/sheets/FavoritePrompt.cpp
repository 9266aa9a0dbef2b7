#include "ui/sheets/FavoritePrompt.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace zuvo::ui {

FavoritePrompt::FavoritePrompt(const QString& proposal, QWidget* parent)
    : QDialog(parent)
    , m_name(new QLineEdit(proposal, this))
{
    setWindowTitle(tr("Save as favorite"));
    m_name->setObjectName(QStringLiteral("favoriteName"));
    m_name->selectAll();
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("Save"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(tr("Name"), m_name);
    layout->addRow(buttons);
    setMinimumWidth(320);
}

QString FavoritePrompt::name() const
{
    return m_name->text().trimmed();
}

} // namespace zuvo::ui
