// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// A small modal prompt for one whole number.
class THInputBox : public QDialog
{
    Q_OBJECT
public:
    explicit THInputBox(QWidget* parent = nullptr);

    QLabel* LbHint;
    QLineEdit* Edit;
    QPushButton* BnOK;
    QPushButton* BnCancel;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Asks for a whole number in a box above parent. True when the user
// confirmed with OK or Enter, false when the box was closed otherwise; value
// is what the field held either way.
bool InputNumber(QWidget* parent, const QString& caption, const QString& prompt, QString& value);
