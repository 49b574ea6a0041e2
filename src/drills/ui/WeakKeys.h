// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/WeakKeyDrill.h"
#include "drills/ui/DrillWindowHost.h"
#include "drills/ui/line.h"

#include <vector>

// Lines built from the course's words around the keys the user types
// worst, or around one key the user chose.
class TFmWeakKeyPrac : public TFmLinePractice
{
    Q_OBJECT
public:
    // The keys practised, shown in the caption, and the source of the lines.
    TFmWeakKeyPrac(const TCodePage& codePage, std::vector<unsigned char> keys, TWeakKeyLines lines,
                   QWidget* parent = nullptr);
    ~TFmWeakKeyPrac() override;

    // Prepares the first line; throws TError when the source builds none.
    void Start();

protected:
    void FormCreate() override;
    void NextLine() override;

private:
    std::vector<unsigned char> keys_;
    TDrillWindowHost host_;
    TWeakKeyDrill drill_;
};
