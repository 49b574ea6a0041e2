// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/ui/WeakKeys.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "drills/stopw.h"
#include "history/StatisticsTexts.h"

#include <utility>

TFmWeakKeyPrac::TFmWeakKeyPrac(const TCodePage& codePage, std::vector<unsigned char> keys,
                               TWeakKeyLines lines, QWidget* parent)
    : TFmLinePractice(codePage, parent), keys_(std::move(keys)), host_(*this),
      drill_(Engine, DrillStopwatch(), host_, std::move(lines))
{
    setObjectName(QStringLiteral("FmWeakKeyPrac"));
}

TFmWeakKeyPrac::~TFmWeakKeyPrac() = default;

void TFmWeakKeyPrac::FormCreate()
{
    TFmLinePractice::FormCreate();
    std::string names;
    for (unsigned char key : keys_) {
        if (!names.empty())
            names += ' ';
        names += KeyName(key, CodePage);
    }
    setWindowTitle(QString::fromUtf8(Format(_("Weak Keys: %s"), names.c_str())));
}

void TFmWeakKeyPrac::Start()
{
    drill_.Start();
}

void TFmWeakKeyPrac::NextLine()
{
    drill_.NextLine();
}
