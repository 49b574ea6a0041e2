// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/ui/Sentence.h"

class QLabel;
class TCourseDrill;

// The lessons of the course, one line each, in order, with the arrow keys to
// step and Insert to jump.
class TFmCoursePrac : public TFmSentencePrac
{
    Q_OBJECT
public:
    explicit TFmCoursePrac(const TCodePage& codePage, QWidget* parent = nullptr);

    void SetLesson(int lesson);
    // The current lesson, 0-based: what the profile keeps as Progress.
    int Lesson() const;

    QLabel* Label1;

protected:
    void FormCreate() override;
    void InputEditKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void showEvent(QShowEvent* event) override;

private:
    TCourseDrill* course_;
};
