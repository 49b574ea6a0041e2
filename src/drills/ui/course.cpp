// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/ui/course.h"

#include "base/Translate.h"
#include "base/ui/QtBridge.h"
#include "drills/CourseDrill.h"
#include "drills/stopw.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>
#include <algorithm>

TFmCoursePrac::TFmCoursePrac(const TCodePage& codePage, QWidget* parent)
    : TFmSentencePrac(codePage, parent)
{
    setObjectName(QStringLiteral("FmCoursePrac"));
    Label1 = new QLabel(QStringLiteral("00 / 00"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(21);
    font.setBold(true);
    Label1->setFont(font);
    // Wide enough for a course of up to 999 lessons, not only for "00 / 00".
    const int width = QFontMetrics(font).horizontalAdvance(QStringLiteral("000 / 000")) +
                      2 * Label1->margin() + 2 * Label1->frameWidth();
    Label1->setGeometry(480, 90, std::max(91, width), 23);
    Host.SetLessonLabel(Label1);
    auto drill = std::make_unique<TCourseDrill>(Engine, DrillStopwatch(), Host);
    course_ = drill.get();
    Drill = std::move(drill);
}

void TFmCoursePrac::FormCreate()
{
    TFmSentencePrac::FormCreate();
    setWindowTitle(QString::fromUtf8(_("Course")));
    course_->Command = TCourseCommand::Other;
    course_->Lesson = 0;
    SBHelp->showMessage(QString::fromUtf8(_(
        "Press the -> key to the next, the <- key to the previous, the Insert key to anywhere.")));
}

void TFmCoursePrac::SetLesson(int lesson)
{
    course_->SetLesson(lesson);
}

int TFmCoursePrac::Lesson() const
{
    return course_->Lesson;
}

void TFmCoursePrac::InputEditKeyDown(int& key, Qt::KeyboardModifiers)
{
    if (course_->KeyDown(DrillKey(key)))
        key = 0;
}

void TFmCoursePrac::showEvent(QShowEvent* event)
{
    TFmSentencePrac::showEvent(event);
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, LbMark->palette().color(QPalette::WindowText));
    Label1->setPalette(palette);
}
