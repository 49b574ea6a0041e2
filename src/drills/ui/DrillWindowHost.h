// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/CourseDrill.h"

class QLabel;
class TFmLinePractice;

// Carries out what the course, sentence and free drills ask of their window.
class TDrillWindowHost final : public TCourseHost
{
public:
    explicit TDrillWindowHost(TFmLinePractice& form) : form_(form) {}
    // The label that shows the course's lesson position; none for other drills.
    void SetLessonLabel(QLabel* label) { lessonLabel_ = label; }

    void SetSample(const std::string& text) override;
    void ShowFirstKey(unsigned char ch) override;
    void HideTimingMark() override;
    void ResetDisplay() override;
    void Information(const std::string& message) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultText) override;
    void ShowLessonPosition(const std::string& text) override;

private:
    TFmLinePractice& form_;
    QLabel* lessonLabel_ = nullptr;
};
