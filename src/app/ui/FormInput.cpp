// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/FormInput.h"

#include "app/WholeNumber.h"
#include "base/Translate.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace {

// Typed characters that would not leave a whole number are refused.
class TWholeNumberValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return IsWholeNumberEntry(input.toStdString()) ? Acceptable : Invalid;
    }
};

} // namespace

THInputBox::THInputBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HInputBox"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(309, 88);
    setBackgroundRole(QPalette::Button);

    LbHint = new QLabel(this);
    LbHint->setObjectName(QStringLiteral("LbHint"));
    LbHint->setGeometry(16, 8, 285, 19);
    QFont hintFont(QStringLiteral("Times New Roman"));
    hintFont.setPixelSize(15);
    LbHint->setFont(hintFont);

    Edit = new QLineEdit(QStringLiteral("0"), this);
    Edit->setObjectName(QStringLiteral("Edit"));
    Edit->move(16, 30);
    Edit->setFixedWidth(289);

    BnOK = new QPushButton(QString::fromUtf8(_("&OK")), this);
    BnOK->setObjectName(QStringLiteral("BnOK"));
    BnOK->setGeometry(112, 56, 75, 25);
    BnOK->setDefault(true);
    connect(BnOK, &QPushButton::clicked, this, &QDialog::accept);

    BnCancel = new QPushButton(QString::fromUtf8(_("&Cancel")), this);
    BnCancel->setObjectName(QStringLiteral("BnCancel"));
    BnCancel->setGeometry(216, 56, 75, 25);
    BnCancel->hide();

    Edit->setFocus();
}

void THInputBox::keyPressEvent(QKeyEvent* event)
{
    // The box has no Cancel: Escape does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool InputNumber(QWidget* parent, const QString& caption, const QString& prompt, QString& value)
{
    THInputBox box(parent);
    box.LbHint->setText(prompt);
    box.setWindowTitle(caption);
    box.Edit->setText(value);
    box.Edit->setValidator(new TWholeNumberValidator(box.Edit));
    const bool confirmed = box.exec() == QDialog::Accepted;
    value = box.Edit->text();
    return confirmed;
}
