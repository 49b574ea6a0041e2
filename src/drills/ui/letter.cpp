// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/ui/letter.h"

#include "base/Translate.h"
#include "drills/FreeDrill.h"
#include "drills/stopw.h"

#include <QStatusBar>
#include <QTextEdit>

TFmLetterPrac::TFmLetterPrac(const TCodePage& codePage, QWidget* parent)
    : TFmLinePractice(codePage, parent), host_(*this),
      drill_(std::make_unique<TFreeDrill>(Engine, DrillStopwatch(), host_, codePage))
{
    setObjectName(QStringLiteral("FmLetterPrac"));
    SampleEdit->setReadOnly(true);
}

TFmLetterPrac::~TFmLetterPrac() = default;

bool TFmLetterPrac::LineDefined() const
{
    return drill_->LineDefined;
}

void TFmLetterPrac::FormCreate()
{
    TFmLinePractice::FormCreate();
    setWindowTitle(QString::fromUtf8(_("Free Drills")));
    drill_->LineDefined = false;
    SBHelp->showMessage(
        QString::fromUtf8(_("Please press the Insert key for defining the example line.")));
}

void TFmLetterPrac::InputEditKeyDown(int& key, Qt::KeyboardModifiers)
{
    if (drill_->KeyDown(DrillKey(key)))
        key = 0;
}

void TFmLetterPrac::NextLine()
{
    drill_->NextLine();
}
