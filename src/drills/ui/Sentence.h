// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/ui/DrillWindowHost.h"
#include "drills/ui/line.h"

#include <memory>

class TLineListDrill;

// Sentences of the course in random order; also the base of the course drill,
// which shares its list of lines and its loading.
class TFmSentencePrac : public TFmLinePractice
{
    Q_OBJECT
public:
    explicit TFmSentencePrac(const TCodePage& codePage, QWidget* parent = nullptr);
    ~TFmSentencePrac() override;

    void SetFileName(const std::string& path);
    void LoadFile();

protected:
    void FormCreate() override;
    void NextLine() override;

    TDrillWindowHost Host;
    std::unique_ptr<TLineListDrill> Drill;
};
