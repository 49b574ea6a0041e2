// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/ui/DrillWindowHost.h"

#include "base/ui/MessageBoxes.h"
#include "drills/ui/line.h"

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>

void TDrillWindowHost::SetSample(const std::string& text)
{
    form_.SetSample(text);
}

void TDrillWindowHost::ShowFirstKey(unsigned char ch)
{
    form_.ShowKeyAndFinger(ch);
}

void TDrillWindowHost::HideTimingMark()
{
    form_.LbMark->hide();
}

void TDrillWindowHost::ResetDisplay()
{
    form_.ResetDisplay();
}

void TDrillWindowHost::Information(const std::string& message)
{
    TMessageBoxes::Information(&form_, QString::fromStdString(message));
}

std::optional<std::string> TDrillWindowHost::InputBox(const std::string& caption,
                                                      const std::string& prompt,
                                                      const std::string& defaultText)
{
    QInputDialog box(&form_);
    box.setWindowTitle(QString::fromStdString(caption));
    box.setLabelText(QString::fromStdString(prompt));
    box.setTextValue(QString::fromStdString(defaultText));
    if (auto* field = box.findChild<QLineEdit*>())
        field->setMaxLength(static_cast<int>(InputBoxMaxLength));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue().toStdString();
}

void TDrillWindowHost::ShowLessonPosition(const std::string& text)
{
    if (lessonLabel_ != nullptr)
        lessonLabel_->setText(QString::fromStdString(text));
}
