// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/ui/DrillWindowHost.h"
#include "drills/ui/line.h"

#include <memory>

class TFreeDrill;

// A line of the user's own text, repeated until Insert asks for another.
class TFmLetterPrac : public TFmLinePractice
{
    Q_OBJECT
public:
    explicit TFmLetterPrac(const TCodePage& codePage, QWidget* parent = nullptr);
    ~TFmLetterPrac() override;

    bool LineDefined() const;

protected:
    void FormCreate() override;
    void InputEditKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void NextLine() override;

private:
    TDrillWindowHost host_;
    std::unique_ptr<TFreeDrill> drill_;
};
