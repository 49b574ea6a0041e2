// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/ui/Sentence.h"

#include "base/Translate.h"
#include "drills/SentenceDrill.h"
#include "drills/stopw.h"

TFmSentencePrac::TFmSentencePrac(const TCodePage& codePage, QWidget* parent)
    : TFmLinePractice(codePage, parent), Host(*this),
      Drill(std::make_unique<TSentenceDrill>(Engine, DrillStopwatch(), Host))
{
    setObjectName(QStringLiteral("FmSentencePrac"));
}

TFmSentencePrac::~TFmSentencePrac() = default;

void TFmSentencePrac::FormCreate()
{
    TFmLinePractice::FormCreate();
    setWindowTitle(QString::fromUtf8(_("Sentence Drills")));
}

void TFmSentencePrac::SetFileName(const std::string& path)
{
    Drill->SetFileName(path);
}

void TFmSentencePrac::LoadFile()
{
    Drill->LoadFile();
}

void TFmSentencePrac::NextLine()
{
    Drill->NextLine();
}
